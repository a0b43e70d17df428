#pragma once

#include "i18n/Language.h"
#include "templates/FolderTemplate.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

// The user's own choices that the settings file "SetNMaker.cf" has no line for, in a small
// file of their own in the per-user configuration folder, so that file's format stays as it
// is. Read when made; each change written at once. One instance serves every window: two
// would each write back the lines they read and undo the other's change.
class Preferences
{
public:
    // An empty path keeps the choices for this run only.
    explicit Preferences(const QString& path = {});
    Preferences(const Preferences&) = delete;
    Preferences& operator=(const Preferences&) = delete;

    const QString& path() const { return m_path; }

    // The list window's 拡張書式で展開: imports read the extended list syntax.
    bool extendedListSyntax() const { return m_extendedListSyntax; }
    // Takes the choice; false when it could not be written (it still holds for this run).
    bool setExtendedListSyntax(bool on);

    // The folder template of the window's runs; a folder that is not an absolute path in the
    // file is none. Whether the folder can be read is the run's question, not this one's.
    FolderTemplate folderTemplate() const { return m_template; }
    // As setExtendedListSyntax; a folder whose name holds a line break cannot be written.
    bool setFolderTemplate(const FolderTemplate& value);

    // The settings dialog's 表示言語, for the next start; nothing when never chosen.
    std::optional<Language> language() const { return m_language; }
    bool setLanguage(Language language);

private:
    using Entry = std::pair<QByteArray, QByteArray>; // key, value
    // The value of `key` in `section`, as written after its '='.
    std::optional<QByteArray> value(const QByteArray& section, const QByteArray& key) const;
    // Sets the keys of one section in the lines as read and writes the file whole.
    bool write(const QByteArray& section, const QList<Entry>& entries);

    QString m_path;
    QList<QByteArray> m_lines; // the file's lines as read, kept through every write
    bool m_extendedListSyntax = false;
    FolderTemplate m_template;
    std::optional<Language> m_language;
};

// "preferences.ini" in the per-user configuration folder, the one the settings file falls
// back to; the folder is made when the file is first written.
QString preferencesFilePath();
QString preferencesFilePathIn(const QString& configFolder);
