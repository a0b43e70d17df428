#pragma once

#include <QString>
#include <QStringView>

// Windows path rules as pure text functions, so that every build can test them; the Windows
// host calls them before every system call.
namespace WindowsPaths
{

// The path with "." and ".." applied textually (as Windows itself does), '/' read as '\',
// repeated separators merged and a trailing one dropped (a drive root keeps its own). A
// "\\?\" or "\\?\UNC\" prefix is taken off first. Empty for anything that names no absolute
// place: no drive and no share, a drive without its "\" ("C:x"), a NUL inside, or a ".."
// that would climb above the drive root or the share.
QString cleaned(const QString& path);

// The root of a cleaned path: "C:\" or "\\server\share\"; empty when it has none.
QString rootOf(const QString& cleanPath);

// What the system calls are given: the cleaned path with the "\\?\" prefix ("\\?\UNC\" for a
// share), so that no length limit applies and no name is altered on the way.
QString longForm(const QString& cleanPath);

// Why Windows programs could not use `name` as the name of a folder as it stands: a trailing
// dot or blank (the Win32 layer drops them, so another name would be meant), or a device name
// (CON, PRN, AUX, NUL, COM1-9, LPT1-9, also with an extension). Empty when it is fine.
QString nameProblem(QStringView name);

// The first component below the root of a cleaned path that has a nameProblem(), with the
// problem; empty when there is none.
struct Problem {
    QString component;
    QString why;
};
Problem pathProblem(const QString& cleanPath);

} // namespace WindowsPaths
