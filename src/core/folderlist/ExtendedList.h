#pragma once

#include "ListLine.h"

#include <QString>

#include <functional>
#include <memory>

// A line in the extended syntax: every complete range [a-b] expands (numbers with the format's
// zero-fill rule, or single letters and kana in code-point order), a range may step [a-b:n],
// alternatives {x,y} and the date {date}, {date:FORMAT} stand for their texts; all of them
// multiply left to right. The line is parsed once and can then be measured before a single
// entry is made.
class ExtendedLine
{
public:
    ExtendedLine(const QString& line, const ListSyntax& syntax);
    ~ExtendedLine();
    ExtendedLine(const ExtendedLine&) = delete;
    ExtendedLine& operator=(const ExtendedLine&) = delete;

    // PlainPath when the line stands for itself alone; NotExpandable with problem() or
    // TooManyDigits when it is rejected.
    ListLineKind kind() const { return m_kind; }
    ListLineProblem problem() const { return m_problem; }
    // Entries and characters, counted without making them; far past every bound they stop
    // growing instead of overflowing.
    ListLineSize size() const;
    // Every entry, the leftmost part changing slowest; nothing for a rejected line.
    void forEach(const std::function<void(const QString&)>& take) const;

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    ListLineKind m_kind = ListLineKind::PlainPath;
    ListLineProblem m_problem = ListLineProblem::None;
};

// The escape character of the extended syntax: \ on POSIX, ^ on Windows.
QChar listEscapeCharacter(PathStyle style);
