#include "Preferences.h"

#include "text/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{

const QByteArray ListSection = "[list]";
const QByteArray ExtendedKey = "extendedSyntax";
constexpr qint64 MaxBytes = 1024 * 1024;

QByteArray trimmed(QByteArray line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    return line.trimmed();
}

// Where `key` of `section` stands among the lines, -1 if nowhere; `sectionEnd` gets the line
// after the section's last one (-1: no such section).
qsizetype findKey(const QList<QByteArray>& lines, const QByteArray& section, const QByteArray& key,
                  qsizetype& sectionEnd)
{
    bool inside = false;
    sectionEnd = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = trimmed(lines.at(i));
        if (line.startsWith('[')) {
            inside = line == section;
            if (inside)
                sectionEnd = i + 1;
            continue;
        }
        if (!inside)
            continue;
        if (!line.isEmpty())
            sectionEnd = i + 1;
        const qsizetype eq = line.indexOf('=');
        if (eq > 0 && line.left(eq).trimmed() == key)
            return i;
    }
    return -1;
}

} // namespace

Preferences::Preferences(const QString& path) : m_path(path)
{
    if (m_path.isEmpty())
        return;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // Lines it does not know, even bytes that are no text, stay as they are when it writes.
    m_lines = file.read(MaxBytes).split('\n');
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    qsizetype end = -1;
    const qsizetype at = findKey(m_lines, ListSection, ExtendedKey, end);
    // Anything but true leaves the default.
    if (at >= 0) {
        const QByteArray line = trimmed(m_lines.at(at));
        m_extendedListSyntax = line.mid(line.indexOf('=') + 1).trimmed() == "true";
    }
}

bool Preferences::setExtendedListSyntax(bool on)
{
    m_extendedListSyntax = on;
    if (m_path.isEmpty())
        return true;
    QList<QByteArray> lines = m_lines;
    // In the file's own line ends.
    const bool crlf = !lines.isEmpty() && lines.front().endsWith('\r');
    const QByteArray entry = ExtendedKey + '=' + (on ? "true" : "false") + (crlf ? "\r" : "");
    qsizetype end = -1;
    const qsizetype at = findKey(lines, ListSection, ExtendedKey, end);
    if (at >= 0)
        lines[at] = entry;
    else if (end >= 0)
        lines.insert(end, entry);
    else
        lines << ListSection + (crlf ? "\r" : "") << entry;
    if (!makeOwnFolder(QFileInfo(m_path).absolutePath()))
        return false;
    // Written whole or not at all: a failure leaves the old file as it was.
    if (!writeFileAtomically(m_path, lines.join('\n') + '\n'))
        return false;
    m_lines = std::move(lines);
    return true;
}

QString preferencesFilePathIn(const QString& configFolder)
{
    return QDir(configFolder).filePath(QStringLiteral("preferences.ini"));
}

QString preferencesFilePath()
{
    return preferencesFilePathIn(
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}
