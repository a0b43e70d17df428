#pragma once

#include "PathStyle.h"

#include <QByteArray>
#include <QString>

// The path every system call means by `path`. On POSIX "." components and repeated or trailing
// separators go, and each ".." is applied to the folder that the path before it really names,
// links followed, as the kernel does it; a textual clean-up would mean another folder after a
// link ("/x/L/../T" is not "/x/T" when L is a link). On Windows the system itself resolves ".."
// textually, so a textual clean-up is what it means there.
//
// Empty when no folder can be meant: a NUL inside (the system would cut the path there), a
// relative path, or a ".." after something that does not exist.
QString hostPath(const QString& path);

#ifdef Q_OS_UNIX
// The bytes of a host path for the system calls, as QFile::encodeName gives them.
QByteArray hostBytes(const QString& path);
// The same for a path that hostPath() leaves as it is and that is plain ASCII, in one look;
// false for any other path.
bool plainHostBytes(const QString& path, QByteArray& bytes);
#endif

// A path the host can use as it stands: on POSIX it starts with '/', on Windows with a drive
// ("C:\") or a share ("\\server"). A relative path is never resolved against the working
// directory.
bool isAbsoluteHostPath(const QString& path);

// The path without separators at its end, a lone root separator excepted.
QString withoutTrailingSeparators(QString path);

// A name of the host's bytes as text, every byte kept: what is no UTF-8 becomes a lone
// surrogate U+DC80..U+DCFF per byte (as Python's "surrogateescape"), never a replacement
// character that would name another file. nameBytes() gives the bytes back.
QString nameOfBytes(const QByteArray& bytes);
QByteArray nameBytes(QStringView name);
