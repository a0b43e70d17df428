#pragma once

#include <QChar>
#include <QString>

// What differs between Windows paths and POSIX paths for the rules of this program.
enum class PathStyle { Windows, Posix };

constexpr PathStyle hostPathStyle()
{
#ifdef Q_OS_WIN
    return PathStyle::Windows;
#else
    return PathStyle::Posix;
#endif
}

inline QChar pathSeparator(PathStyle style)
{
    return style == PathStyle::Windows ? QLatin1Char('\\') : QLatin1Char('/');
}

// An entry "carries a drive": on Windows "X:\...", on POSIX any absolute path.
inline bool carriesDrive(const QString& path, PathStyle style)
{
    if (style == PathStyle::Posix)
        return path.startsWith(QLatin1Char('/'));
    const QString head = path.left(3);
    return head.size() == 3 && head.at(1) == QLatin1Char(':') && head.at(2) == QLatin1Char('\\');
}
