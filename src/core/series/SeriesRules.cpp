#include "SeriesRules.h"

#include "run/RunContext.h"

#include <algorithm>
#include <cmath>

NameFieldCorrection cleanNameField(const QString& text, int caret, RefuseMode mode, PathStyle style)
{
    NameFieldCorrection c;
    c.text = removeRefusedChars(text, mode, style, c.found);
    if (c.found && caret != 0)
        c.caret = std::min<int>(caret - 1, c.text.size());
    return c;
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

void setSeriesFolderNumber(QString& name, qsizetype head, const SeriesParameters& p, int n)
{
    name.truncate(head);
    if (n < 0)
        name.append(QString::number(n));
    else
        appendNumberText(name, n, p.zeroFill ? std::clamp(p.digits, 1, 5) : 0);
    name.append(p.suffix);
}

QString seriesFolderName(const SeriesParameters& p, int n)
{
    QString name;
    name.reserve(p.targetFolder.size() + p.prefix.size() + 10 + p.suffix.size());
    name.append(p.targetFolder).append(p.prefix);
    setSeriesFolderNumber(name, name.size(), p, n);
    return name;
}

QString seriesRawListLine(const SeriesParameters& p)
{
    return p.targetFolder + p.prefix + QLatin1Char('[') +
           numberText(p.first, p.digits, p.zeroFill) + QLatin1Char('-') +
           numberText(p.last, p.digits, p.zeroFill) + QLatin1Char(']') + p.suffix;
}

bool seriesExpandedListLines(const SeriesParameters& p, RunContext& context, QStringList& out)
{
    out.reserve(out.size() + std::max(0, p.last - p.first + 1));
    for (int n = p.first; n <= p.last; ++n) {
        const bool stop = context.runStep([&] {
            out.append(seriesFolderName(p, n));
            return false;
        });
        if (stop)
            return false;
    }
    return true;
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

    const SeriesValidation checked = validateSeries(p, style);
    if (!checked.ok)
        return checked;
    v.ok = true;
    return v;
}

SeriesValidation validateSeries(const SeriesParameters& p, PathStyle style)
{
    SeriesValidation v;
    struct Text {
        const QString& text;
        RefuseMode mode;
        SeriesField field;
    };
    for (const Text& t : {Text{p.targetFolder, RefuseMode::Path, SeriesField::Folder},
                          Text{p.prefix, RefuseMode::FolderName, SeriesField::Prefix},
                          Text{p.suffix, RefuseMode::FolderName, SeriesField::Suffix}}) {
        bool found = false;
        const QString cleaned = removeRefusedChars(t.text, t.mode, style, found);
        if (found) {
            v.message = 2;
            v.insert = refusedChars(t.mode, style);
            v.field = t.field;
            v.fieldText = cleaned;
            return v;
        }
    }
    if (p.zeroFill && !(std::pow(10.0, p.digits) > p.last)) {
        v.message = 7;
        v.field = SeriesField::NoKeta;
        v.fieldText = QString::number(NoKetaField.defaultValue);
        return v;
    }
    v.ok = true;
    v.params = p;
    return v;
}
