#pragma once

#include "PathStyle.h"

#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>

// What both list syntaxes share: the kinds of line, how a line is read, why one is rejected,
// what a line stands for, and how a range bound reads. The format itself is ListFormat.h, the
// extended syntax ExtendedList.h.

enum class ListLineKind { NotExpandable = 0, PlainPath = 1, Expanded = 2, TooManyDigits = 3 };

// The most characters a range bound may have (blanks and signs count).
constexpr int MaxRangeDigits = 5;
// Positions in a line are 16-bit counts where lists come from: longer lines are not list lines.
constexpr qsizetype MaxListLineLength = 32767;

// How deep alternatives may nest inside each other.
constexpr int MaxAlternativeDepth = 16;

// How lines are read: the format lists are stored in, or the extended syntax that the user
// turns on per use (every range, letters, steps, alternatives and dates; ExtendedList.h).
struct ListSyntax {
    bool extended = false;
    // What {date} stands for; none: the day the line is read. An import fixes it once, so a
    // file read across midnight, or counted and then streamed, reads the same throughout.
    QDate today;
    // Its escape character: the backslash on POSIX, the caret on Windows, where the backslash
    // separates folders and C:\work\{a,b} must stay a group.
    PathStyle style = hostPathStyle();
};

// Why the extended syntax rejects a line (the format itself gives no reasons).
enum class ListLineProblem {
    None,
    BoundNotValue,    // a bound is neither a number nor one character
    NegativeBound,    // a bound below zero
    NumberAndLetter,  // one bound a number, the other a character
    MixedCase,        // [a-Z]
    DifferentScripts, // [あ-オ], [a-ｚ]
    NotALetter,       // a character outside the letters and kana a range may run over
    BadStep,          // the step is no whole number of 1 to 99999
    EmptyDateFormat,  // {date:}
    EmptyEntry,       // some combination is the empty path (the base folder itself)
    TooDeep,          // alternatives nested deeper than MaxAlternativeDepth
    NulCharacter,     // a NUL, which would cut the path short where the system reads it
};
// The reason as the rejected-line report shows it after the line.
QString listLineProblemText(ListLineProblem problem);

// What a line stands for, told without making a single path: its kind, how many entries and
// how many characters they hold together (a plain path is one entry of its own length).
struct ListLineSize {
    ListLineKind kind = ListLineKind::PlainPath;
    qsizetype entries = 0;
    qint64 characters = 0;
    ListLineProblem problem = ListLineProblem::None; // for NotExpandable in the extended syntax
};

// A range bound as the format reads it: plain decimal with blanks around, a sign and a
// fraction rounded half to even; no exponent, no base prefix. Nothing when it is no number.
std::optional<qint64> listBoundValue(QStringView text);
