#include "ExtendedList.h"

#include "text/Numbers.h"

#include <QLocale>
#include <QStringView>

#include <algorithm>
#include <vector>

namespace
{

// Far past every bound; a product of ranges stops here instead of overflowing.
constexpr qint64 Saturated = qint64(1) << 62;

qint64 addSaturated(qint64 a, qint64 b)
{
    return a >= Saturated - b ? Saturated : a + b;
}

qint64 mulSaturated(qint64 a, qint64 b)
{
    if (a == 0 || b == 0)
        return 0;
    return a > Saturated / b ? Saturated : std::min(a * b, Saturated);
}

constexpr int MaxStep = 99999;

struct Part;
using Sequence = std::vector<Part>;

struct Part {
    enum class Kind { Text, Numbers, Letters, Choice };
    Kind kind = Kind::Text;
    QString text;
    int low = 0;
    int high = 0;
    int step = 1;
    int width = 0; // zero-fill width of Numbers, 0 for plain numbers
    std::vector<Sequence> choices;

    int count() const { return (high - low) / step + 1; }
};

// What a part or a sequence stands for: entries, their characters, the shortest entry.
struct Measure {
    qint64 entries = 1;
    qint64 characters = 0;
    qint64 shortest = 0;
};

int decimalLength(int n)
{
    int length = 1;
    for (; n >= 10; n /= 10)
        ++length;
    return length;
}

// Characters of low, low + step, ... up to high written in plain decimal, decade by decade.
qint64 plainDigits(int low, int high, int step)
{
    qint64 digits = 0;
    const int last = (high - low) / step;
    for (qint64 length = 1, from = 0, to = 9; from <= high;
         ++length, from = to + 1, to = to * 10 + 9) {
        const qint64 first = from <= low ? 0 : (from - low + step - 1) / step;
        const qint64 upto = std::min<qint64>(last, to < low ? -1 : (to - low) / step);
        if (first <= upto)
            digits += (upto - first + 1) * length;
    }
    return digits;
}

Measure measure(const Sequence& sequence);

Measure measure(const Part& part)
{
    switch (part.kind) {
    case Part::Kind::Text:
        return {1, part.text.size(), part.text.size()};
    case Part::Kind::Numbers: {
        const qint64 n = part.count();
        if (part.width > 0)
            return {n, n * part.width, part.width};
        return {n, plainDigits(part.low, part.high, part.step), decimalLength(part.low)};
    }
    case Part::Kind::Letters:
        return {part.count(), part.count(), 1};
    case Part::Kind::Choice: {
        Measure m{0, 0, Saturated};
        for (const Sequence& alternative : part.choices) {
            const Measure a = measure(alternative);
            m.entries = addSaturated(m.entries, a.entries);
            m.characters = addSaturated(m.characters, a.characters);
            m.shortest = std::min(m.shortest, a.shortest);
        }
        return m;
    }
    }
    return {};
}

Measure measure(const Sequence& sequence)
{
    Measure m;
    for (const Part& part : sequence) {
        const Measure p = measure(part);
        // Every character of the parts so far repeats for each of this part's entries, and
        // the other way round.
        m.characters = addSaturated(mulSaturated(m.characters, p.entries),
                                    mulSaturated(p.characters, m.entries));
        m.entries = mulSaturated(m.entries, p.entries);
        m.shortest = addSaturated(m.shortest, p.shortest);
    }
    return m;
}

// The scripts a letter range may run over; a range stays within one.
enum class Script { None, Lower, Upper, WideLower, WideUpper, Hiragana, Katakana };

Script scriptOf(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return Script::Lower;
    if (c >= u'A' && c <= u'Z')
        return Script::Upper;
    if (c >= u'ａ' && c <= u'ｚ')
        return Script::WideLower;
    if (c >= u'Ａ' && c <= u'Ｚ')
        return Script::WideUpper;
    if (c >= u'ぁ' && c <= u'ゖ')
        return Script::Hiragana;
    if (c >= u'ァ' && c <= u'ヺ')
        return Script::Katakana;
    return Script::None;
}

bool isCasePair(Script a, Script b)
{
    auto pair = [a, b](Script x, Script y) { return (a == x && b == y) || (a == y && b == x); };
    return pair(Script::Lower, Script::Upper) || pair(Script::WideLower, Script::WideUpper);
}

struct Bound {
    enum class Kind { Number, Negative, Letter, Other };
    Kind kind = Kind::Other;
    qint64 value = 0;
    bool wide = false;   // more characters than a bound may have
    char16_t letter = 0; // 0 for a character outside the BMP
};

Bound boundOf(QStringView text)
{
    Bound b;
    if (const auto value = listBoundValue(text)) {
        b.kind = *value < 0 ? Bound::Kind::Negative : Bound::Kind::Number;
        b.value = *value;
        b.wide = text.size() > MaxRangeDigits;
        return b;
    }
    const bool pair = text.size() == 2 && text[0].isHighSurrogate() && text[1].isLowSurrogate();
    if (text.size() == 1 || pair) {
        b.kind = Bound::Kind::Letter;
        b.letter = pair ? 0 : text[0].unicode();
    }
    return b;
}

// A step as written after the colon: digits only, 1 to 99999.
int stepOf(QStringView text)
{
    if (text.isEmpty() || text.size() > MaxRangeDigits)
        return 0;
    int step = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
        step = step * 10 + (c.unicode() - u'0');
    }
    return step <= MaxStep ? step : 0;
}

class Parser
{
public:
    Parser(QStringView line, const ListSyntax& syntax)
        : m_line(line), m_escape(listEscapeCharacter(syntax.style)),
          m_today(syntax.today.isValid() ? syntax.today : QDate::currentDate())
    {
        matchBraces();
    }

    ListLineKind kind = ListLineKind::Expanded;
    ListLineProblem problem = ListLineProblem::None;

    Sequence parse()
    {
        Sequence parts;
        parseSequence(0, m_line.size(), 0, parts);
        return parts;
    }

private:
    bool escapes(qsizetype i, qsizetype end) const
    {
        if (m_line[i] != m_escape || i + 1 >= end)
            return false;
        const QChar next = m_line[i + 1];
        return next == m_escape || next == QLatin1Char('{') || next == QLatin1Char('}') ||
               next == QLatin1Char('[') || next == QLatin1Char(']') || next == QLatin1Char(',');
    }

    // Every brace with its partner and its own commas, in one pass: looking for them brace by
    // brace would take the square of a line full of braces.
    void matchBraces()
    {
        const qsizetype n = m_line.size();
        m_close.assign(size_t(n), -1);
        m_commas.assign(size_t(n), {});
        std::vector<qsizetype> open;
        for (qsizetype i = 0; i < n; ++i) {
            if (escapes(i, n)) {
                ++i;
                continue;
            }
            const QChar c = m_line[i];
            if (c == QLatin1Char('{')) {
                open.push_back(i);
            } else if (c == QLatin1Char('}') && !open.empty()) {
                m_close[size_t(open.back())] = i;
                open.pop_back();
            } else if (c == QLatin1Char(',') && !open.empty()) {
                m_commas[size_t(open.back())].push_back(i);
            }
        }
    }

    // The line is rejected; parsing stops at the first part that is wrong.
    qsizetype reject(ListLineProblem why)
    {
        kind = ListLineKind::NotExpandable;
        problem = why;
        return 0;
    }

    static void addText(Sequence& parts, QString& text)
    {
        if (text.isEmpty())
            return;
        if (!parts.empty() && parts.back().kind == Part::Kind::Text)
            parts.back().text += text;
        else
            parts.push_back(Part{Part::Kind::Text, text, 0, 0, 1, 0, {}});
        text.clear();
    }

    // A part that stands for one text only is text: it multiplies nothing, and so the walk
    // never goes deeper than the parts that do.
    static void addPart(Sequence& parts, QString& text, Part&& part)
    {
        if (part.kind != Part::Kind::Choice && part.count() == 1) {
            QString single;
            if (part.kind == Part::Kind::Numbers)
                appendNumberText(single, part.low, part.width);
            else if (part.kind == Part::Kind::Letters)
                single = QChar(char16_t(part.low));
            else
                single = part.text;
            text += single;
            return;
        }
        addText(parts, text);
        parts.push_back(std::move(part));
    }

    bool parseSequence(qsizetype from, qsizetype to, int depth, Sequence& parts)
    {
        QString text;
        qsizetype i = from;
        while (i < to) {
            if (escapes(i, to)) {
                text += m_line[i + 1];
                i += 2;
                continue;
            }
            const QChar c = m_line[i];
            qsizetype next = -1;
            if (c == QLatin1Char('['))
                next = parseRange(i, to, parts, text);
            else if (c == QLatin1Char('{'))
                next = parseGroup(i, to, depth, parts, text);
            if (kind != ListLineKind::Expanded)
                return false;
            if (next < 0) { // literal
                text += c;
                ++i;
            } else {
                i = next;
            }
        }
        addText(parts, text);
        return true;
    }

    // A range at `open`: where the line goes on after it, or -1 when the bracket is literal.
    qsizetype parseRange(qsizetype open, qsizetype to, Sequence& parts, QString& text)
    {
        qsizetype close = open + 1;
        while (close < to && m_line[close] != QLatin1Char(']') && m_line[close] != QLatin1Char('['))
            ++close;
        if (close >= to || m_line[close] != QLatin1Char(']'))
            return -1;
        const QStringView inside = m_line.sliced(open + 1, close - open - 1);
        const qsizetype dash = inside.indexOf(QLatin1Char('-'));
        if (dash < 0)
            return -1; // [old] names a folder
        const QStringView startText = inside.first(dash);
        QStringView endText = inside.sliced(dash + 1);
        int step = 1;
        const qsizetype colon = endText.indexOf(QLatin1Char(':'));
        if (colon >= 0) {
            step = stepOf(endText.sliced(colon + 1));
            endText = endText.first(colon);
        }
        const Bound start = boundOf(startText);
        const Bound end = boundOf(endText);
        using K = Bound::Kind;
        if (start.kind == K::Other || end.kind == K::Other)
            return reject(ListLineProblem::BoundNotValue);
        if (start.kind == K::Negative || end.kind == K::Negative)
            return reject(ListLineProblem::NegativeBound);
        if (start.kind != end.kind)
            return reject(ListLineProblem::NumberAndLetter);
        if (start.wide || end.wide) {
            kind = ListLineKind::TooManyDigits;
            return 0;
        }
        if (step == 0)
            return reject(ListLineProblem::BadStep);

        Part part;
        part.step = step;
        if (start.kind == K::Number) {
            part.kind = Part::Kind::Numbers;
            // At most five characters each, so both fit an int.
            part.low = int(std::min(start.value, end.value));
            part.high = int(std::max(start.value, end.value));
            part.width = startText.size() == endText.size() ? int(startText.size()) : 0;
        } else {
            const Script a = start.letter ? scriptOf(start.letter) : Script::None;
            const Script b = end.letter ? scriptOf(end.letter) : Script::None;
            if (a == Script::None || b == Script::None)
                return reject(ListLineProblem::NotALetter);
            if (a != b)
                return reject(isCasePair(a, b) ? ListLineProblem::MixedCase
                                               : ListLineProblem::DifferentScripts);
            part.kind = Part::Kind::Letters;
            part.low = std::min(start.letter, end.letter);
            part.high = std::max(start.letter, end.letter);
        }
        addPart(parts, text, std::move(part));
        return close + 1;
    }

    // Alternatives or a date at `open`: where the line goes on, or -1 when the brace is literal.
    qsizetype parseGroup(qsizetype open, qsizetype to, int depth, Sequence& parts, QString& text)
    {
        const qsizetype close = m_close[size_t(open)];
        if (close < 0 || close >= to || close == open + 1)
            return -1; // a lone { and {} stay as written
        const QStringView inside = m_line.sliced(open + 1, close - open - 1);
        const QLatin1String date("date");
        if (inside == date || inside.startsWith(QLatin1String("date:"))) {
            QString day;
            if (inside == date) {
                day = m_today.toString(u"yyyyMMdd");
            } else {
                const QStringView format = inside.sliced(date.size() + 1);
                if (format.isEmpty())
                    return reject(ListLineProblem::EmptyDateFormat);
                day = QLocale(QLocale::Japanese, QLocale::Japan).toString(m_today, format);
            }
            addPart(parts, text, Part{Part::Kind::Text, day, 0, 0, 1, 0, {}});
            return close + 1;
        }
        const std::vector<qsizetype>& commas = m_commas[size_t(open)];
        if (commas.empty())
            return -1; // {old} names a folder, as in a shell
        if (depth >= MaxAlternativeDepth)
            return reject(ListLineProblem::TooDeep);
        Part part;
        part.kind = Part::Kind::Choice;
        qsizetype from = open + 1;
        for (size_t k = 0; k <= commas.size(); ++k) {
            const qsizetype until = k < commas.size() ? commas[k] : close;
            Sequence alternative;
            if (!parseSequence(from, until, depth + 1, alternative))
                return 0;
            part.choices.push_back(std::move(alternative));
            from = until + 1;
        }
        addPart(parts, text, std::move(part));
        return close + 1;
    }

    QStringView m_line;
    QChar m_escape;
    QDate m_today;
    std::vector<qsizetype> m_close;               // the partner of each {, -1 for none
    std::vector<std::vector<qsizetype>> m_commas; // the commas of each { at its own level
};

// Walks the product one entry at a time, the text so far in one buffer.
class Walker
{
public:
    explicit Walker(const std::function<void(const QString&)>& take) : m_take(take) {}

    struct Frame {
        const Sequence* sequence;
        size_t index;
        const Frame* up; // where an alternative goes on once it is through
    };

    void walk(const Frame& f)
    {
        if (f.index == f.sequence->size()) {
            if (f.up)
                walk(*f.up);
            else
                m_take(QString(m_text.constData(), m_text.size()));
            return;
        }
        const Part& part = (*f.sequence)[f.index];
        const Frame next{f.sequence, f.index + 1, f.up};
        const qsizetype mark = m_text.size();
        switch (part.kind) {
        case Part::Kind::Text:
            m_text.append(part.text);
            walk(next);
            break;
        case Part::Kind::Numbers:
            for (int n = part.low; n <= part.high; n += part.step) {
                m_text.truncate(mark);
                appendNumberText(m_text, n, part.width);
                walk(next);
            }
            break;
        case Part::Kind::Letters:
            for (int c = part.low; c <= part.high; c += part.step) {
                m_text.truncate(mark);
                m_text.append(QChar(char16_t(c)));
                walk(next);
            }
            break;
        case Part::Kind::Choice:
            for (const Sequence& alternative : part.choices) {
                m_text.truncate(mark);
                walk(Frame{&alternative, 0, &next});
            }
            break;
        }
        m_text.truncate(mark);
    }

private:
    const std::function<void(const QString&)>& m_take;
    QString m_text;
};

} // namespace

struct ExtendedLine::Parts {
    Sequence sequence;
};

ExtendedLine::ExtendedLine(const QString& line, const ListSyntax& syntax)
    : m_parts(std::make_unique<Parts>())
{
    if (line.contains(QChar(u'\0'))) {
        m_kind = ListLineKind::NotExpandable;
        m_problem = ListLineProblem::NulCharacter;
        return;
    }
    Parser parser(line, syntax);
    m_parts->sequence = parser.parse();
    m_kind = parser.kind;
    m_problem = parser.problem;
    if (m_kind != ListLineKind::Expanded) {
        m_parts->sequence.clear();
        return;
    }
    const Sequence& s = m_parts->sequence;
    if (measure(s).shortest == 0) {
        m_kind = ListLineKind::NotExpandable;
        m_problem = ListLineProblem::EmptyEntry;
        m_parts->sequence.clear();
    } else if (s.size() == 1 && s.front().kind == Part::Kind::Text && s.front().text == line) {
        m_kind = ListLineKind::PlainPath;
    }
}

ExtendedLine::~ExtendedLine() = default;

ListLineSize ExtendedLine::size() const
{
    if (m_kind != ListLineKind::Expanded && m_kind != ListLineKind::PlainPath)
        return {m_kind, 0, 0, m_problem};
    const Measure m = measure(m_parts->sequence);
    return {m_kind, m.entries, m.characters, ListLineProblem::None};
}

void ExtendedLine::forEach(const std::function<void(const QString&)>& take) const
{
    if (m_kind != ListLineKind::Expanded && m_kind != ListLineKind::PlainPath)
        return;
    Walker walker(take);
    walker.walk(Walker::Frame{&m_parts->sequence, 0, nullptr});
}

QChar listEscapeCharacter(PathStyle style)
{
    return style == PathStyle::Windows ? QLatin1Char('^') : QLatin1Char('\\');
}
