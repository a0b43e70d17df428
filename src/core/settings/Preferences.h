#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The user's own choices that the settings file "SetNMaker.cf" has no line for, in a small
// file of their own in the per-user configuration folder, so that file's format stays as it
// is. Read when made; each change written at once.
class Preferences
{
public:
    // An empty path keeps the choices for this run only.
    explicit Preferences(const QString& path = {});

    const QString& path() const { return m_path; }

    // The list window's 拡張書式で展開: imports read the extended list syntax.
    bool extendedListSyntax() const { return m_extendedListSyntax; }
    // Takes the choice; false when it could not be written (it still holds for this run).
    bool setExtendedListSyntax(bool on);

private:
    QString m_path;
    QList<QByteArray> m_lines; // the file's lines as read, kept through every write
    bool m_extendedListSyntax = false;
};

// "preferences.ini" in the per-user configuration folder, the one the settings file falls
// back to; the folder is made when the file is first written.
QString preferencesFilePath();
QString preferencesFilePathIn(const QString& configFolder);
