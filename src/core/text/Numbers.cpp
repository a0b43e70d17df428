#include "Numbers.h"

#include <algorithm>
#include <iterator>

#include <cmath>
#include <limits>

namespace
{

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// One pass over the text, whatever it holds: a pattern that backtracks is quadratic in a long
// run of digits.
bool isNumberText(QStringView t, bool exponent)
{
    qsizetype i = 0;
    const qsizetype n = t.size();
    while (i < n && isBlank(t[i]))
        ++i;
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(t[i]))
        ++i, ++digits;
    if (i < n && t[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && isDigit(t[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (exponent && i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            ++i;
        const qsizetype start = i;
        while (i < n && isDigit(t[i]))
            ++i;
        if (i == start)
            return false;
    }
    while (i < n && isBlank(t[i]))
        ++i;
    return i == n;
}

} // namespace

std::optional<double> parseNumber(const QString& text)
{
    if (!isNumberText(text, true))
        return std::nullopt;
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (std::isnan(value))
        return std::nullopt;
    // The text is a number; a failed conversion only means it is beyond a double's range:
    // an infinity for overflow (callers saturate), zero for underflow.
    if (!ok && !std::isinf(value))
        return 0.0;
    return value;
}

qint64 roundNumber(double value)
{
    constexpr double lo = std::numeric_limits<qint32>::min();
    constexpr double hi = std::numeric_limits<qint32>::max();
    if (value <= lo)
        return qint64(lo) - 1;
    if (value >= hi)
        return qint64(hi) + 1;
    return qint64(std::nearbyint(value)); // the default rounding mode rounds half to even
}

void appendNumberText(QString& out, int n, int width)
{
    // Once per folder of a run: the digits straight into the text, without a format string.
    char16_t digits[10];
    qsizetype first = std::size(digits);
    unsigned v = n < 0 ? 0u : unsigned(n);
    do {
        digits[--first] = char16_t(u'0' + v % 10);
        v /= 10;
    } while (v > 0 && first > 0);
    if (width > 0) {
        const qsizetype start = qsizetype(std::size(digits)) - std::min<qsizetype>(width, 10);
        while (first > start)
            digits[--first] = u'0';
        first = start;
    }
    out.append(QStringView(digits + first, digits + std::size(digits)));
}

QString numberText(int n, int digits, bool zeroFill)
{
    if (!zeroFill || n < 0)
        return QString::number(n);
    // The last `digits` characters of n written with at least five.
    QString text;
    appendNumberText(text, n, std::clamp(digits, 1, 5));
    return text;
}
