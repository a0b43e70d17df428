#pragma once

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
