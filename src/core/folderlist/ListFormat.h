#pragma once

#include <QString>
#include <QStringList>

// One line of a folder list: a path as written, or a path with one bracketed range such as
// C:\work\case[001-120] that stands for a whole run of numbered paths.

enum class ListLineKind { NotExpandable = 0, PlainPath = 1, Expanded = 2, TooManyDigits = 3 };

// The most characters a range bound may have (blanks and signs count).
constexpr int MaxRangeDigits = 5;
// Positions in a line are 16-bit counts where lists come from: longer lines are not list lines.
constexpr qsizetype MaxListLineLength = 32767;

// Classifies one line: the range is the last "[", the first "-" after it and the first "]"
// after that. For Expanded every path is appended to `entries`, ascending; nothing is added
// for the other kinds (a plain path is the caller's to add).
ListLineKind expandListLine(const QString& line, QStringList& entries);
