#pragma once

#include "i18n/Language.h"
#include "series/SeriesRules.h"

#include <optional>

// What the settings dialog needs from the window that owns the fields and the settings file.
class SettingsHost
{
public:
    virtual ~SettingsHost() = default;

    // The six field texts, whole.
    virtual SeriesFieldTexts fieldTexts() const = 0;
    // Puts the texts into the fields, each through its own change handling.
    virtual void setFieldTexts(const SeriesFieldTexts& texts) = 0;
    // Writes the settings file from the current state; reports a failure itself.
    virtual void saveSettings() = 0;
    // Default options, then default field values.
    virtual void resetSettings() = 0;
    // The 表示言語 kept for the next start (nothing when never chosen), and a new choice.
    virtual std::optional<Language> savedLanguage() const { return std::nullopt; }
    virtual void saveLanguage(Language) {}
};
