#include "SeriesRules.h"

#include <algorithm>
#include <cmath>
#include <limits>

QString refusedChars(RefuseMode mode, PathStyle style)
{
    static const QString all = QStringLiteral("\\/|:<>\"*");
    if (mode == RefuseMode::FolderName)
        return all;
    QString set = all;
    set.remove(pathSeparator(style));
    return set;
}

QString removeRefusedChars(const QString& text, RefuseMode mode, PathStyle style, bool& found)
{
    const QString set = refusedChars(mode, style);
    const int keep = (mode == RefuseMode::Path && style == PathStyle::Windows) ? 3 : 0;
    const QString head = text.left(keep);
    QString rest = text.mid(keep);
    bool hit = false;
    for (QChar c : set) {
        if (rest.contains(c)) {
            rest.remove(c);
            hit = true;
        }
    }
    if (hit)
        found = true;
    return head + rest;
}

NameFieldCorrection cleanNameField(const QString& text, int caret, RefuseMode mode, PathStyle style)
{
    NameFieldCorrection c;
    c.text = removeRefusedChars(text, mode, style, c.found);
    if (c.found && caret != 0)
        c.caret = std::min<int>(caret - 1, c.text.size());
    return c;
}

QString firstTextLine(const QString& text)
{
    // Any break ends it (the Linux clipboard separates lines with LF), so no folder name
    // ever holds one.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return text.left(i);
    }
    return text;
}

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

ClampResult clampNumberText(const QString& text, const NumberField& field)
{
    if (text.isEmpty())
        return {text, false};
    const auto value = parseNumber(text);
    if (!value)
        return {QString::number(field.defaultValue), true};
    const qint64 n = roundNumber(*value);
    if (n > field.maximum)
        return {QString::number(field.maximum), false};
    if (n < field.minimum)
        return {QString::number(field.minimum), false};
    return {text, false};
}

QString stepNumberText(const QString& text, const NumberField& field, int keyCode)
{
    switch (keyCode) {
    case KeyCode::Space:
        return QString();
    case KeyCode::Up:
    case KeyCode::Down:
        break;
    default:
        return text;
    }
    const bool up = keyCode == KeyCode::Up;
    if (text.isEmpty())
        return QString::number(up ? field.defaultValue : field.minimum);
    const auto value = parseNumber(text);
    if (!value)
        return text;
    const qint64 v = roundNumber(*value);
    if (up)
        return QString::number(v >= field.maximum ? qint64(field.maximum) : v + 1);
    return QString::number(v <= field.minimum ? qint64(field.minimum) : v - 1);
}

QString seriesNumberText(int n, int digits, bool zeroFill)
{
    if (!zeroFill)
        return QString::number(n);
    return QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0')).right(digits);
}

QString seriesFolderName(const SeriesParameters& p, int n)
{
    return p.targetFolder + p.prefix + seriesNumberText(n, p.digits, p.zeroFill) + p.suffix;
}

SeriesValidation getSeriesParameters(const SeriesFieldTexts& fields, bool zeroFill, PathStyle style,
                                     const QString& programFolder)
{
    SeriesValidation v;
    auto fail = [&v](int message, SeriesField field, const QString& text) {
        v.message = message;
        v.field = field;
        v.fieldText = text;
        return v;
    };

    // A path pasted with its line end (from a terminal, say) must not name a folder "x\n".
    QString folder = firstTextLine(fields.folder);
    if (!folder.isEmpty()) {
        bool found = false;
        const QString cleaned = removeRefusedChars(folder, RefuseMode::Path, style, found);
        if (found) {
            v.insert = refusedChars(RefuseMode::Path, style);
            return fail(2, SeriesField::Folder, cleaned);
        }
    } else {
        folder = programFolder;
    }
    if (!folder.endsWith(pathSeparator(style)))
        folder += pathSeparator(style);

    // A number text that is empty, or that somehow is no number, stops the run the same way.
    auto number = [](const QString& text) -> std::optional<qint64> {
        if (text.isEmpty())
            return std::nullopt;
        const auto value = parseNumber(text);
        if (!value)
            return std::nullopt;
        return roundNumber(*value);
    };
    const auto first = number(fields.noStart);
    if (!first)
        return fail(4, SeriesField::NoStart, QString::number(NoStartField.defaultValue));
    const auto last = number(fields.noEnd);
    if (!last)
        return fail(5, SeriesField::NoEnd, QString::number(NoEndField.defaultValue));
    const auto digits = number(fields.noKeta);
    if (!digits)
        return fail(6, SeriesField::NoKeta, QString::number(NoKetaField.defaultValue));

    // The change rule keeps the fields in range; clamp again so nothing odd reaches a run.
    auto within = [](qint64 n, const NumberField& f) {
        return int(std::clamp<qint64>(n, f.minimum, f.maximum));
    };
    SeriesParameters& p = v.params;
    p.targetFolder = folder;
    p.prefix = firstTextLine(fields.prefix);
    p.suffix = firstTextLine(fields.suffix);
    p.first = within(*first, NoStartField);
    p.last = within(*last, NoEndField);
    p.digits = within(*digits, NoKetaField);
    if (p.last < p.first)
        std::swap(p.first, p.last);
    p.zeroFill = zeroFill;

    if (zeroFill && !(std::pow(10.0, p.digits) > p.last))
        return fail(7, SeriesField::NoKeta, QString::number(NoKetaField.defaultValue));
    v.ok = true;
    return v;
}
