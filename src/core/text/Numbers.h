#pragma once

#include <QString>

#include <optional>

// Numbers as the user writes them in fields and files, shared by the series, the settings and
// the folder lists.

// A number as the user may write it: blanks around, a sign, a fraction, an exponent. Judged in
// one pass, whatever the text holds.
std::optional<double> parseNumber(const QString& text);
// Rounds half to even into the 32-bit range; values beyond it saturate.
qint64 roundNumber(double value);

// The running number as it appears in a folder name: with zero-fill `n` written with five
// digits and cut to its last `digits`, otherwise plain decimal.
QString numberText(int n, int digits, bool zeroFill);
// The same written onto the end of `out`: with a `width`, the last `width` digits of n
// zero-filled; with width 0, plain decimal. For the many names of a run or a list line.
void appendNumberText(QString& out, int n, int width);
