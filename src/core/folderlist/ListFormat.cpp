#include "ListFormat.h"

#include <QStringView>

#include <algorithm>
#include <iterator>
#include <optional>

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

// Beyond 32 bits a bound is longer than five characters anyway; the value only has to stay
// large and keep its sign.
constexpr qint64 SaturatedValue = qint64(1) << 33;

// A range bound: plain decimal with blanks around, a sign and a fraction, rounded half to
// even. Read digit by digit in one pass: "010" is ten, and no exponent or base prefix is a
// number here, so a path part like "1e3" or "0x10" never turns into a count of folders.
std::optional<qint64> boundValue(QStringView t)
{
    const qsizetype n = t.size();
    qsizetype i = 0;
    while (i < n && isBlank(t[i]))
        ++i;
    bool negative = false;
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        negative = t[i++] == QLatin1Char('-');
    qint64 whole = 0;
    qsizetype digits = 0;
    for (; i < n && isDigit(t[i]); ++i, ++digits)
        whole = std::min(whole * 10 + (t[i].unicode() - u'0'), SaturatedValue);
    QStringView fraction;
    if (i < n && t[i] == QLatin1Char('.')) {
        const qsizetype start = ++i;
        while (i < n && isDigit(t[i]))
            ++i;
        fraction = t.sliced(start, i - start);
        digits += fraction.size();
    }
    if (digits == 0)
        return std::nullopt;
    while (i < n && isBlank(t[i]))
        ++i;
    if (i != n)
        return std::nullopt;

    // Rounded on the written digits, so no binary fraction tips a half either way.
    bool up = false;
    if (!fraction.isEmpty()) {
        const QChar first = fraction[0];
        if (first > QLatin1Char('5'))
            up = true;
        else if (first == QLatin1Char('5'))
            up = std::any_of(fraction.begin() + 1, fraction.end(),
                             [](QChar c) { return c != QLatin1Char('0'); }) ||
                 whole % 2 == 1;
    }
    if (up)
        whole = std::min(whole + 1, SaturatedValue);
    return negative ? -whole : whole;
}

// The number as the folder-name rule writes it (numberText): with a width, its last `width`
// digits zero-filled, otherwise plain decimal. Written straight into the path, since number
// texts built one by one take most of the time of a 100,000-entry line.
void appendNumber(QString& path, int n, int width)
{
    char16_t digits[10];
    qsizetype first = std::size(digits);
    do {
        digits[--first] = char16_t(u'0' + n % 10);
        n /= 10;
    } while (n > 0 && first > 0);
    if (width > 0) {
        const qsizetype start = qsizetype(std::size(digits)) - width;
        while (first > start)
            digits[--first] = u'0';
        first = start;
    }
    path.append(QStringView(digits + first, digits + std::size(digits)));
}

} // namespace

ListLineKind expandListLine(const QString& line, QStringList& entries)
{
    const qsizetype open = line.lastIndexOf(QLatin1Char('['));
    if (open < 0)
        return ListLineKind::PlainPath;
    const qsizetype dash = line.indexOf(QLatin1Char('-'), open + 1);
    if (dash < 0)
        return ListLineKind::PlainPath;
    const qsizetype close = line.indexOf(QLatin1Char(']'), dash + 1);
    if (close < 0)
        return ListLineKind::PlainPath;

    const QStringView view(line);
    const QStringView startText = view.sliced(open + 1, dash - open - 1);
    const QStringView endText = view.sliced(dash + 1, close - dash - 1);
    const auto start = boundValue(startText);
    if (!start || *start < 0)
        return ListLineKind::NotExpandable;
    const auto end = boundValue(endText);
    if (!end || *end < 0)
        return ListLineKind::NotExpandable;
    // Tested only now: a long bound that is no number at all is a wrong line, not a long one.
    if (startText.size() > MaxRangeDigits || endText.size() > MaxRangeDigits)
        return ListLineKind::TooManyDigits;

    // Five characters hold at most 99999, so both values fit an int.
    const int low = int(std::min(*start, *end));
    const int high = int(std::max(*start, *end));
    // Bounds written equally wide zero-fill to that width; otherwise the numbers stand plain.
    const int width = startText.size() == endText.size() ? int(startText.size()) : 0;
    const QStringView prefix = view.first(open);
    const QStringView suffix = view.sliced(close + 1);
    const qsizetype pathSize = prefix.size() + MaxRangeDigits + suffix.size();

    entries.reserve(entries.size() + (high - low + 1));
    for (int n = low; n <= high; ++n) {
        QString path;
        path.reserve(pathSize);
        path.append(prefix);
        appendNumber(path, n, width);
        path.append(suffix);
        entries.append(std::move(path));
    }
    return ListLineKind::Expanded;
}
