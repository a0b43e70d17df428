#pragma once

#include "ListLine.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// One line of a folder list: a path as written, or a path with one bracketed range such as
// C:\work\case[001-120] that stands for a whole run of numbered paths.

// Classifies one line: the range is the last "[", the first "-" after it and the first "]"
// after that. For Expanded every path is appended to `entries`, ascending; nothing is added
// for the other kinds (a plain path is the caller's to add).
ListLineKind expandListLine(const QString& line, QStringList& entries);
ListLineKind expandListLine(const QString& line, QStringList& entries, const ListSyntax& syntax);

// What the line stands for (ListLineSize), counted without making a single path.
ListLineSize measureListLine(const QString& line);
ListLineSize measureListLine(const QString& line, const ListSyntax& syntax);

// Every entry of the line, one at a time, ascending: nothing is held. A plain path is handed
// over as it is; a rejected line hands over nothing. Returns the line's kind.
ListLineKind forEachListEntry(const QString& line, const std::function<void(const QString&)>& take);
ListLineKind forEachListEntry(const QString& line, const ListSyntax& syntax,
                              const std::function<void(const QString&)>& take);
