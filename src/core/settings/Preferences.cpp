#include "Preferences.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace
{

const QString ExtendedKey = QStringLiteral("list/extendedSyntax");

} // namespace

Preferences::Preferences(const QString& path) : m_path(path)
{
    if (m_path.isEmpty() || !QFileInfo(m_path).isFile())
        return;
    // A file that cannot be read, or holds anything but true or false, leaves the default.
    const QSettings file(m_path, QSettings::IniFormat);
    const QString value = file.value(ExtendedKey).toString();
    m_extendedListSyntax = value == QLatin1String("true");
}

bool Preferences::setExtendedListSyntax(bool on)
{
    m_extendedListSyntax = on;
    if (m_path.isEmpty())
        return true;
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    // Written through a temporary file and renamed: a failure leaves the old file whole.
    QSettings file(m_path, QSettings::IniFormat);
    file.setValue(ExtendedKey, on);
    file.sync();
    return file.status() == QSettings::NoError;
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
