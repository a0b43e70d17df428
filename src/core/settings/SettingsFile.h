#pragma once

#include "Options.h"
#include "series/SeriesRules.h"

#include <QString>
#include <QStringList>

#include <optional>

// The settings file "SetNMaker.cf": five lines of options and, when the saved settings are in
// use, six more with the field values. The reader and the writer take the path, so only
// start-up ever touches the real file.

inline const QString& settingsFileName()
{
    static const QString name = QStringLiteral("SetNMaker.cf");
    return name;
}

// Beside the executable when its folder can be written, otherwise in the per-user
// configuration folder (created when missing). On Windows a program under Program Files is
// installed for every user: each has settings of their own, even where an administrator's
// run could write beside the program (and an uninstaller would find a file it never laid).
QString settingsFilePath();
// The choice itself: programFolder when writable and inside none of `sharedFolders`, else
// configFolder.
QString settingsFilePathIn(const QString& programFolder, const QString& configFolder,
                           const QStringList& sharedFolders = {});

// What reading the file asks the program to do, step by step in file order.
struct SettingsRead {
    enum Outcome {
        NotOpened,     // reset everything, then save a new file
        Reset,         // line 1 is not 1: reset everything, leave the file alone
        DefaultFields, // line 5 is not 1, or an error after line 1: default fields
        Fields,        // everything read: put `fields` into the window
    };
    Outcome outcome = NotOpened;
    // Each value is present only when its line was read and valid before any error;
    // the caller applies the present ones in this order, then acts on the outcome.
    std::optional<int> useSavedSettings;
    std::optional<int> checkedIndex[Options::GroupCount];
    std::optional<int> saveFieldValues;
    SeriesFieldTexts fields; // only for Fields
};

// Eleven short lines never come near this; a larger file is malformed and not even decoded.
constexpr qint64 MaxSettingsFileBytes = 64 * 1024;

SettingsRead readSettingsFile(const QString& path);
SettingsRead parseSettingsLines(const QStringList& lines);

// Puts the option values of a reading into `options`, in file order.
void applySettingsRead(const SettingsRead& read, Options& options);

// The default field values: the temporary folder, 1, 10, 3 and empty name parts.
SeriesFieldTexts defaultFieldTexts(const QString& tempFolder);

// A number as the settings file writes it: blank (for the sign), digits, blank.
QString printForm(int value);

QStringList settingsLines(const Options& options, const SeriesFieldTexts& fields,
                          const QString& tempFolder);
// False when the file could not be written; the old file is then untouched.
bool writeSettingsFile(const QString& path, const Options& options, const SeriesFieldTexts& fields,
                       const QString& tempFolder);
