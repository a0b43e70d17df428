#pragma once

#include <QDir>
#include <QFile>
#include <QString>

// Every run of the program, in the benchmark and in the programs it starts, keeps its journal,
// trash and settings in `dir`: a benchmark never touches the user's own.
inline void useScratchHome(const QString& dir)
{
    QDir().mkpath(dir);
    qputenv("HOME", QFile::encodeName(dir));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir + QStringLiteral("/data")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir + QStringLiteral("/state")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir + QStringLiteral("/config")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir + QStringLiteral("/cache")));
}
