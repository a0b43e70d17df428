#include "ListFormat.h"

#include "ExtendedList.h"
#include "text/Numbers.h"

#include <QStringView>

#include <algorithm>
#include <iterator>
#include <optional>

namespace
{

// Where the range of a line lies and what it spans.
struct Range {
    ListLineKind kind = ListLineKind::PlainPath;
    qsizetype open = 0;
    qsizetype close = 0;
    int low = 0;
    int high = 0;
    int width = 0; // zero-fill width, 0 for plain numbers
};

Range rangeOf(const QString& line)
{
    Range r;
    // No path holds a NUL: the system would read another, shorter one.
    if (line.contains(QChar(u'\0'))) {
        r.kind = ListLineKind::NotExpandable;
        return r;
    }
    const qsizetype open = line.lastIndexOf(QLatin1Char('['));
    if (open < 0)
        return r;
    const qsizetype dash = line.indexOf(QLatin1Char('-'), open + 1);
    if (dash < 0)
        return r;
    const qsizetype close = line.indexOf(QLatin1Char(']'), dash + 1);
    if (close < 0)
        return r;

    const QStringView view(line);
    const QStringView startText = view.sliced(open + 1, dash - open - 1);
    const QStringView endText = view.sliced(dash + 1, close - dash - 1);
    r.kind = ListLineKind::NotExpandable;
    const auto start = listBoundValue(startText);
    if (!start || *start < 0)
        return r;
    const auto end = listBoundValue(endText);
    if (!end || *end < 0)
        return r;
    // Tested only now: a long bound that is no number at all is a wrong line, not a long one.
    if (startText.size() > MaxRangeDigits || endText.size() > MaxRangeDigits) {
        r.kind = ListLineKind::TooManyDigits;
        return r;
    }
    r.kind = ListLineKind::Expanded;
    r.open = open;
    r.close = close;
    // Five characters hold at most 99999, so both values fit an int.
    r.low = int(std::min(*start, *end));
    r.high = int(std::max(*start, *end));
    // Bounds written equally wide zero-fill to that width; otherwise the numbers stand plain.
    r.width = startText.size() == endText.size() ? int(startText.size()) : 0;
    return r;
}

template <class Take> void eachPath(const QString& line, const Range& r, Take&& take)
{
    const QStringView view(line);
    const QStringView prefix = view.first(r.open);
    const QStringView suffix = view.sliced(r.close + 1);
    const qsizetype pathSize = prefix.size() + MaxRangeDigits + suffix.size();
    for (int n = r.low; n <= r.high; ++n) {
        QString path;
        path.reserve(pathSize);
        path.append(prefix);
        appendNumberText(path, n, r.width);
        path.append(suffix);
        take(std::move(path));
    }
}

} // namespace

ListLineKind expandListLine(const QString& line, QStringList& entries)
{
    const Range r = rangeOf(line);
    if (r.kind != ListLineKind::Expanded)
        return r.kind;
    entries.reserve(entries.size() + (r.high - r.low + 1));
    eachPath(line, r, [&entries](QString&& path) { entries.append(std::move(path)); });
    return ListLineKind::Expanded;
}

ListLineSize measureListLine(const QString& line)
{
    const Range r = rangeOf(line);
    ListLineSize size{r.kind, 0, 0};
    if (r.kind == ListLineKind::PlainPath) {
        size.entries = 1;
        size.characters = line.size();
    } else if (r.kind == ListLineKind::Expanded) {
        size.entries = r.high - r.low + 1;
        const qint64 fixed = line.size() - (r.close - r.open + 1);
        qint64 digits = 0;
        if (r.width > 0) {
            digits = qint64(size.entries) * r.width;
        } else {
            // Numbers by their decimal length: 0-9, 10-99, ...
            for (qint64 length = 1, from = 0, to = 9; from <= r.high;
                 ++length, from = to + 1, to = to * 10 + 9) {
                const qint64 lo = std::max<qint64>(from, r.low);
                const qint64 hi = std::min<qint64>(to, r.high);
                if (lo <= hi)
                    digits += (hi - lo + 1) * length;
            }
        }
        size.characters = fixed * size.entries + digits;
    }
    return size;
}

ListLineKind forEachListEntry(const QString& line, const std::function<void(const QString&)>& take)
{
    const Range r = rangeOf(line);
    if (r.kind == ListLineKind::PlainPath)
        take(line);
    else if (r.kind == ListLineKind::Expanded)
        eachPath(line, r, [&take](QString&& path) { take(path); });
    return r.kind;
}

ListLineKind expandListLine(const QString& line, QStringList& entries, const ListSyntax& syntax)
{
    if (!syntax.extended)
        return expandListLine(line, entries);
    const ExtendedLine parsed(line, syntax);
    if (parsed.kind() != ListLineKind::Expanded)
        return parsed.kind();
    entries.reserve(entries.size() + parsed.size().entries);
    parsed.forEach([&entries](const QString& entry) { entries.append(entry); });
    return ListLineKind::Expanded;
}

ListLineSize measureListLine(const QString& line, const ListSyntax& syntax)
{
    if (!syntax.extended)
        return measureListLine(line);
    return ExtendedLine(line, syntax).size();
}

ListLineKind forEachListEntry(const QString& line, const ListSyntax& syntax,
                              const std::function<void(const QString&)>& take)
{
    if (!syntax.extended)
        return forEachListEntry(line, take);
    const ExtendedLine parsed(line, syntax);
    parsed.forEach(take);
    return parsed.kind();
}
