#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The language the program speaks. Japanese is the source of every text; English is a
// translation loaded on request.
enum class Language { Japanese, English };

// "ja" or "en" (any case); nothing for another name.
std::optional<Language> languageNamed(QStringView name);
QString languageCode(Language language);

// "--lang X" or "--lang=X", taken out of the arguments wherever it stands (before or after a
// command, with --help too); the last one counts. `bad` holds a value that names no language.
struct LanguageArgument {
    bool given = false;
    std::optional<Language> language;
    QString bad;
};
LanguageArgument takeLanguageArgument(QStringList& arguments);

// The argument, else NMAKER_LANG, else the window's saved choice, else Japanese. An unknown
// NMAKER_LANG is passed over like an unset one.
Language chooseLanguage(const LanguageArgument& argument, const QString& environment,
                        std::optional<Language> saved = std::nullopt);

// The message for a --lang that names no language (in the language chosen otherwise).
QString badLanguageText(const QString& value);

// Loads the program's translation and Qt's own for the language into the running application;
// Japanese loads only Qt's Japanese texts. False when a translation was not found.
bool installLanguage(Language language);
// The language last installed; Japanese before any.
Language installedLanguage();
