#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

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

// What a line stands for, told without making a single path: its kind, how many entries and
// how many characters they hold together (a plain path is one entry of its own length).
struct ListLineSize {
    ListLineKind kind = ListLineKind::PlainPath;
    qsizetype entries = 0;
    qint64 characters = 0;
};
ListLineSize measureListLine(const QString& line);

// Every entry of the line, one at a time, ascending: nothing is held. A plain path is handed
// over as it is; a rejected line hands over nothing. Returns the line's kind.
ListLineKind forEachListEntry(const QString& line, const std::function<void(const QString&)>& take);

// A range bound as the format reads it: plain decimal with blanks around, a sign and a
// fraction rounded half to even; no exponent, no base prefix. Nothing when it is no number.
std::optional<qint64> listBoundValue(QStringView text);
