#pragma once

#include "PathStyle.h"

#include <QString>

// Rules for texts that become folder names and paths, shared by the series, the settings and
// the folder lists.

enum class RefuseMode { FolderName = 0, Path = 1 };

// The characters a folder name refuses (eight, in a fixed order) or, in path mode, the set a
// path refuses: the folder-name set without the host's separator.
QString refusedChars(RefuseMode mode, PathStyle style);

// Whether removeRefusedChars would remove anything.
bool hasRefusedChars(const QString& text, RefuseMode mode, PathStyle style);

// Removes every refused character; on Windows paths the first three characters (a drive such
// as C:\) are left unchecked. Sets `found` when something was removed and leaves it alone
// otherwise.
QString removeRefusedChars(const QString& text, RefuseMode mode, PathStyle style, bool& found);

// The text up to, not including, its first line break (CR LF, CR or LF).
QString firstTextLine(const QString& text);
