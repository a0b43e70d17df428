#pragma once

#include "PathStyle.h"
#include "text/Numbers.h"
#include "text/TextRules.h"

#include <QString>
#include <QStringList>

class RunContext;

// The rules of the series fields: pure functions, field texts and options in, results out.

// What a name field looks like after its change rule: the cleaned text and where the caret
// goes (one place left of where it was, so it sits where the refused character was typed).
struct NameFieldCorrection {
    bool found = false;
    QString text;
    int caret = -1; // -1: leave the caret where the new text puts it
};
NameFieldCorrection cleanNameField(const QString& text, int caret, RefuseMode mode,
                                   PathStyle style);

// The limits of a number field.
struct NumberField {
    int defaultValue;
    int minimum;
    int maximum;
    int maxLength;
};
inline constexpr NumberField NoStartField{1, 0, 99999, 5};
inline constexpr NumberField NoEndField{10, 0, 99999, 5};
inline constexpr NumberField NoKetaField{3, 1, 5, 2};

struct ClampResult {
    QString text;
    bool notNumber = false; // the caller shows the numeric-value message
};
// The change rule of a number field: empty stays empty, not a number becomes the default,
// out of range becomes the limit, anything else stays exactly as typed.
ClampResult clampNumberText(const QString& text, const NumberField& field);

namespace KeyCode
{
constexpr int Space = 32;
constexpr int Up = 38;
constexpr int Down = 40;
} // namespace KeyCode

// The text of a number field after a key press (Up, Down or Space; other keys change nothing).
QString stepNumberText(const QString& text, const NumberField& field, int keyCode);

struct SeriesParameters {
    QString targetFolder; // always ends with the separator
    QString prefix;
    QString suffix;
    int first = 0;
    int last = 0;
    int digits = 0;
    bool zeroFill = false;
};

// target folder + prefix + number text + suffix
QString seriesFolderName(const SeriesParameters& p, int n);
// The same written into `name` after its first `head` characters (the target folder and the
// prefix): a run writes every folder's name into one text, which no allocation follows while
// nobody else holds it.
void setSeriesFolderNumber(QString& name, qsizetype head, const SeriesParameters& p, int n);

// The series as one list line: target + prefix + "[" + first + "-" + last + "]" + suffix, the
// numbers written as in the folder names, so importing the line gives back the same names.
QString seriesRawListLine(const SeriesParameters& p);
// The series as list lines, one folder name each, one run step per line; false when a cancel
// stopped it, with the lines so far in `out`.
bool seriesExpandedListLines(const SeriesParameters& p, RunContext& context, QStringList& out);

// The six field texts of the main window.
struct SeriesFieldTexts {
    QString folder;
    QString noStart;
    QString noEnd;
    QString noKeta;
    QString prefix;
    QString suffix;
};

enum class SeriesField { None, Folder, NoStart, NoEnd, NoKeta, Prefix, Suffix };

// The outcome of the checks before a run. On failure: the message to show (with its insert)
// and then the field to correct and its new text; the folder field also gets the focus.
struct SeriesValidation {
    bool ok = false;
    SeriesParameters params;
    int message = -1;
    QString insert;
    SeriesField field = SeriesField::None;
    QString fieldText;
};

SeriesValidation getSeriesParameters(const SeriesFieldTexts& fields, bool zeroFill, PathStyle style,
                                     const QString& programFolder);

// The checks every series gets before a run, wherever its values come from (the fields, the
// command line): refused characters in the target folder, the prefix and the suffix, and with
// zero-fill the digit count against the last number. On failure the field named is the one at
// fault, with its text cleaned where characters were refused.
SeriesValidation validateSeries(const SeriesParameters& p, PathStyle style);
