#include "SettingsFile.h"

#include "text/OutputFile.h"

#include "text/TextFile.h"

#include <QCoreApplication>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <algorithm>

namespace
{

constexpr int OptionLines = 5;
constexpr int AllLines = 11;

// The reader ends a line at any line break, so that is where a saved value has to end too.
QString oneLine(const QString& text)
{
    return firstTextLine(text);
}

// Blanks around the number are ignored, so files written with or without them load.
std::optional<double> lineNumber(const QStringList& lines, int index)
{
    if (index >= lines.size())
        return std::nullopt;
    return parseNumber(lines.at(index));
}

std::optional<int> zeroOrOne(double value)
{
    const qint64 n = roundNumber(value);
    if (n != 0 && n != 1)
        return std::nullopt;
    return int(n);
}

// Permission bits do not tell (Windows reports Program Files as writable, root passes every
// check, read-only mounts pass too), so try it.
bool canCreateFilesIn(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("probe-XXXXXX")));
    return probe.open();
}

// Folder names compared as Windows compares them, without case; '\\' read as '/'.
bool isInside(const QString& folder, const QString& parent)
{
    const QString f = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    QString p = QDir::cleanPath(QDir::fromNativeSeparators(parent));
    if (p.isEmpty() || p == QLatin1String("."))
        return false;
    if (f.compare(p, Qt::CaseInsensitive) == 0)
        return true;
    if (!p.endsWith(QLatin1Char('/')))
        p += QLatin1Char('/');
    return f.startsWith(p, Qt::CaseInsensitive);
}

} // namespace

QString settingsFilePathIn(const QString& programFolder, const QString& configFolder,
                           const QStringList& sharedFolders)
{
    const bool shared = std::any_of(sharedFolders.begin(), sharedFolders.end(),
                                    [&](const QString& s) { return isInside(programFolder, s); });
    if (!shared && canCreateFilesIn(programFolder))
        return QDir(programFolder).filePath(settingsFileName());
    makeOwnFolder(configFolder);
    return QDir(configFolder).filePath(settingsFileName());
}

QString settingsFilePath()
{
    QStringList shared;
#ifdef Q_OS_WIN
    for (const char* name : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"})
        shared << qEnvironmentVariable(name);
#endif
    return settingsFilePathIn(QCoreApplication::applicationDirPath(),
                              QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                              shared);
}

SettingsRead parseSettingsLines(const QStringList& lines)
{
    // Any error ends the reading with default fields; what was read before it stays.
    SettingsRead read;
    read.outcome = SettingsRead::DefaultFields;

    const auto first = lineNumber(lines, 0);
    if (!first)
        return read;
    if (*first != 1.0) {
        read.outcome = SettingsRead::Reset;
        return read;
    }
    read.useSavedSettings = 1;

    for (int g = 0; g < Options::GroupCount; ++g) {
        const auto value = lineNumber(lines, 1 + g);
        if (!value)
            return read;
        const qint64 index = roundNumber(*value);
        if (index < 0 || index >= Options::ButtonsPerGroup)
            return read;
        read.checkedIndex[g] = int(index);
    }

    const auto fifth = lineNumber(lines, 4);
    if (!fifth)
        return read;
    read.saveFieldValues = zeroOrOne(*fifth);
    if (!read.saveFieldValues || *fifth != 1.0)
        return read;

    if (lines.size() < AllLines)
        return read;
    read.fields = {lines.at(5), lines.at(6), lines.at(7), lines.at(8), lines.at(9), lines.at(10)};
    read.outcome = SettingsRead::Fields;
    return read;
}

SettingsRead readSettingsFile(const QString& path)
{
    const TextFileRead file = readTextLines(path, LineEnds::AnyBreak, MaxSettingsFileBytes);
    if (!file.ok)
        return {};
    if (file.tooLarge) {
        // Malformed like any other broken file: no option taken from it, default fields.
        SettingsRead read;
        read.outcome = SettingsRead::DefaultFields;
        return read;
    }
    return parseSettingsLines(file.lines);
}

void applySettingsRead(const SettingsRead& read, Options& options)
{
    if (read.useSavedSettings)
        options.setUseSavedSettings(*read.useSavedSettings);
    for (int g = 0; g < Options::GroupCount; ++g) {
        if (read.checkedIndex[g])
            options.setCheckedIndex(static_cast<Options::Group>(g), *read.checkedIndex[g]);
    }
    if (read.saveFieldValues)
        options.setSaveFieldValues(*read.saveFieldValues);
}

SeriesFieldTexts defaultFieldTexts(const QString& tempFolder)
{
    return {tempFolder,
            QString::number(NoStartField.defaultValue),
            QString::number(NoEndField.defaultValue),
            QString::number(NoKetaField.defaultValue),
            QString(),
            QString()};
}

QString printForm(int value)
{
    const QString digits = QString::number(qAbs(qint64(value)));
    return (value < 0 ? QLatin1String("-") : QLatin1String(" ")) + digits + QLatin1String(" ");
}

QStringList settingsLines(const Options& options, const SeriesFieldTexts& fields,
                          const QString& tempFolder)
{
    QStringList lines;
    lines.reserve(AllLines);
    lines << printForm(options.useSavedSettings());
    for (int g = 0; g < Options::GroupCount; ++g)
        lines << printForm(options.checkedIndex(static_cast<Options::Group>(g)));
    lines << printForm(options.saveFieldValues());
    Q_ASSERT(lines.size() == OptionLines);
    if (options.useSavedSettings() != 1)
        return lines;
    if (options.saveFieldValues() == 1) {
        lines << oneLine(fields.folder) << oneLine(fields.noStart) << oneLine(fields.noEnd)
              << oneLine(fields.noKeta) << oneLine(fields.prefix) << oneLine(fields.suffix);
    } else {
        // Never read back in this case, but kept so the file always has the same shape.
        lines << oneLine(tempFolder) << printForm(NoStartField.defaultValue)
              << printForm(NoEndField.defaultValue) << printForm(NoKetaField.defaultValue)
              << QString() << QString();
    }
    return lines;
}

bool writeSettingsFile(const QString& path, const Options& options, const SeriesFieldTexts& fields,
                       const QString& tempFolder)
{
    return writeTextLines(path, settingsLines(options, fields, tempFolder));
}
