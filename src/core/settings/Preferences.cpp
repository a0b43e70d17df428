#include "Preferences.h"

#include "fileops/HostPath.h"
#include "text/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{

const QByteArray ListSection = "[list]";
const QByteArray ExtendedKey = "extendedSyntax";
const QByteArray TemplateSection = "[template]";
const QByteArray FolderKey = "folder";
const QByteArray FoldersOnlyKey = "foldersOnly";
const QByteArray DisplaySection = "[display]";
const QByteArray LanguageKey = "language";
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

QByteArray boolText(bool on)
{
    return on ? "true" : "false";
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
    // Anything but true leaves the default.
    m_extendedListSyntax = value(ListSection, ExtendedKey).value_or("").trimmed() == "true";
    // The path as the host names it, odd bytes kept; a relative one would mean a folder that
    // depends on where the program was started.
    const QString folder = nameOfBytes(value(TemplateSection, FolderKey).value_or(""));
    if (isAbsoluteHostPath(folder))
        m_template.folder = QDir::toNativeSeparators(folder);
    m_template.foldersOnly =
        value(TemplateSection, FoldersOnlyKey).value_or("").trimmed() == "true";
    // A name it does not know is no choice: the default stays.
    m_language = languageNamed(
        QString::fromLatin1(value(DisplaySection, LanguageKey).value_or("").trimmed()));
}

std::optional<QByteArray> Preferences::value(const QByteArray& section, const QByteArray& key) const
{
    qsizetype end = -1;
    const qsizetype at = findKey(m_lines, section, key, end);
    if (at < 0)
        return std::nullopt;
    QByteArray line = m_lines.at(at);
    if (line.endsWith('\r'))
        line.chop(1);
    // Spaces after '=' go; a name may end in one, so the end stays as written.
    line = line.mid(line.indexOf('=') + 1);
    qsizetype lead = 0;
    while (lead < line.size() && (line.at(lead) == ' ' || line.at(lead) == '\t'))
        ++lead;
    return line.mid(lead);
}

bool Preferences::write(const QByteArray& section, const QList<Entry>& entries)
{
    if (m_path.isEmpty())
        return true;
    QList<QByteArray> lines = m_lines;
    // In the file's own line ends.
    const QByteArray eol = !lines.isEmpty() && lines.front().endsWith('\r') ? "\r" : "";
    for (const auto& [key, text] : entries) {
        const QByteArray entry = key + '=' + text + eol;
        qsizetype end = -1;
        const qsizetype at = findKey(lines, section, key, end);
        if (at >= 0)
            lines[at] = entry;
        else if (end >= 0)
            lines.insert(end, entry);
        else
            lines << section + eol << entry;
    }
    if (!makeOwnFolder(QFileInfo(m_path).absolutePath()))
        return false;
    // Written whole or not at all: a failure leaves the old file as it was.
    if (!writeFileAtomically(m_path, lines.join('\n') + '\n'))
        return false;
    m_lines = std::move(lines);
    return true;
}

bool Preferences::setExtendedListSyntax(bool on)
{
    m_extendedListSyntax = on;
    return write(ListSection, {{ExtendedKey, boolText(on)}});
}

bool Preferences::setFolderTemplate(const FolderTemplate& value)
{
    m_template = value;
    const QByteArray folder = nameBytes(value.folder);
    // One line a key: such a name cannot be written, only kept for this run.
    if (folder.contains('\n') || folder.contains('\r') || folder.contains('\0'))
        return m_path.isEmpty();
    return write(TemplateSection,
                 {{FolderKey, folder}, {FoldersOnlyKey, boolText(value.foldersOnly)}});
}

bool Preferences::setLanguage(Language language)
{
    m_language = language;
    return write(DisplaySection, {{LanguageKey, languageCode(language).toLatin1()}});
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
