#include "CountingRun.h"
#include "TestHelpers.h"
#include "folderlist/ExtendedList.h"
#include "folderlist/ListFile.h"
#include "series/SeriesRules.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(ListLineKind)
Q_DECLARE_METATYPE(ListLineProblem)
Q_DECLARE_METATYPE(PathStyle)

namespace
{
const QByteArray bom("\xEF\xBB\xBF", 3);

// "a|b" as {"a", "b"}.
QStringList split(const QString& joined)
{
    return joined.split('|');
}

// One row of the line table; the entries joined by "|", or for a long run its first and last.
void lineRow(const char* name, const QString& line, ListLineKind kind, const QString& entries = {},
             int count = -1)
{
    const QStringList list = entries.isEmpty() ? QStringList() : split(entries);
    QTest::newRow(name) << line << kind << (count < 0 ? int(list.size()) : count) << list;
}

ListImport importBytes(const QByteArray& bytes, const ListImportOptions& options = {})
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    if (!putBytes(path, bytes))
        qFatal("cannot write %s", qPrintable(path));
    return importListFile(path, options);
}

// The day every extended row is read on: a Tuesday.
const QDate Today(2024, 3, 5);

ListSyntax extendedSyntax(PathStyle style)
{
    return ListSyntax{true, Today, style};
}

// One row of the extended table, POSIX unless told.
void extendedRow(const char* name, const QString& line, ListLineKind kind,
                 const QString& entries = {}, int count = -1,
                 ListLineProblem problem = ListLineProblem::None,
                 PathStyle style = PathStyle::Posix)
{
    const QStringList list = entries.isEmpty() ? QStringList() : split(entries);
    QTest::newRow(name) << line << style << kind << (count < 0 ? int(list.size()) : count) << list
                        << problem;
}

void rejectedRow(const char* name, const QString& line, ListLineProblem problem)
{
    extendedRow(name, line, ListLineKind::NotExpandable, {}, 0, problem);
}

// Alternatives nested `depth` deep: {a,{a,{a,b}}} for 3.
QString nested(int depth)
{
    QString line = "b";
    for (int i = 0; i < depth; ++i)
        line = "{a," + line + "}";
    return line;
}
} // namespace

class TestFolderList : public QObject
{
    Q_OBJECT

    const ListSyntax* m_syntax = nullptr; // given to every call; none: the format's own calls
    void withOptionOff(void (TestFolderList::*test)())
    {
        const ListSyntax off{false, Today, PathStyle::Posix};
        m_syntax = &off;
        (this->*test)();
        m_syntax = nullptr;
    }

private Q_SLOTS:
    void expandLine_data();
    void expandLine();
    // The format's tables once more, the extended syntax given and off.
    void expandLineOptionOff_data() { expandLine_data(); }
    void expandLineOptionOff() { withOptionOff(&TestFolderList::expandLine); }
    void extendedLine_data();
    void extendedLine();
    void extendedBounds_data();
    void extendedBounds();
    void report_data();
    void report();
    void reportOptionOff_data() { report_data(); }
    void reportOptionOff() { withOptionOff(&TestFolderList::report); }
    void extendedReport();
    void importFile_data();
    void importFile();
    void importFileOptionOff_data() { importFile_data(); }
    void importFileOptionOff() { withOptionOff(&TestFolderList::importFile); }
    void extendedFileStreamsWhatItImported();
    void wholeFile_data();
    void wholeFile();
    void writeAndReadBack();
    void seriesLines_data();
    void seriesLines();
};

void TestFolderList::expandLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<ListLineKind>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("entries");

    const auto E = ListLineKind::Expanded, P = ListLineKind::PlainPath;
    const auto N = ListLineKind::NotExpandable, T = ListLineKind::TooManyDigits;
    lineRow("1-3", R"(C:\data\case[1-3])", E, R"(C:\data\case1|C:\data\case2|C:\data\case3)");
    lineRow("08-11_x", R"(C:\d\c[08-11]_x)", E, R"(C:\d\c08_x|C:\d\c09_x|C:\d\c10_x|C:\d\c11_x)");
    lineRow("8-11 widths differ", R"(C:\d\c[8-11])", E, R"(C:\d\c8|C:\d\c9|C:\d\c10|C:\d\c11)");
    lineRow("3-1 downwards", R"(C:\d\c[3-1])", E, R"(C:\d\c1|C:\d\c2|C:\d\c3)");
    lineRow("earlier bracket literal", R"(C:\x[old]\y[1-2])", E, R"(C:\x[old]\y1|C:\x[old]\y2)");
    lineRow("no closing bracket", R"(C:\data\case[1-3)", P);
    lineRow("plain", R"(C:\data\plain)", P);
    lineRow("letters", R"(C:\data\case[a-c])", N);
    lineRow("empty start", R"(C:\data\case[-3])", N);
    lineRow("end below zero", R"(C:\data\case[1--3])", N);
    lineRow("six digits", R"(C:\data\case[1-123456])", T);

    lineRow("5-5", "a[5-5]", E, "a5");
    lineRow("0-0", "a[0-0]", E, "a0");
    lineRow("full range", "d[00000-99999]", E, "d00000|d99999", 100000);
    lineRow("blank counts for the width", "a[ 7-10]", E, "a07|a08|a09|a10");
    lineRow("blanks and tab around", "a[ 1\t- 3 ]", E, "a001|a002|a003");
    lineRow("fraction rounds down", "a[1.4-3]", E, "a1|a2|a3");
    lineRow("halves to even", "a[2.5-3.5]", E, "a002|a003|a004");
    lineRow("half to even, equal bounds", "a[2.5-2.5]", E, "a002");
    lineRow("more than a half", "a[2.51-3]", E, "a3");
    lineRow("leading fraction point", "a[.5-2]", E, "a0|a1|a2");
    lineRow("leading zero is decimal", "a[010-012]", E, "a010|a011|a012");
    lineRow("leading zero, widths differ", "a[8-010]", E, "a8|a9|a10");
    lineRow("signs", "a[+1--0]", E, "a00|a01");
    lineRow("six characters, small value", "a[000001-2]", T);
    lineRow("seven letters", "a[abcdefg-1]", N);
    lineRow("long bound, other not a number", "a[123456-x]", N);
    lineRow("huge bound", "a[1-99999999999999999999]", T);
    lineRow("huge negative bound", "a[1--99999999999999999999]", N);
    lineRow("exponent", "a[1e1-20]", N);
    lineRow("hex", "a[0x1-3]", N);
    lineRow("bracket inside the start text", "a[1]-2]", N);
    lineRow("lone open bracket", R"(C:\a[)", P);
    lineRow("bracket without dash", R"(C:\a[x])", P);
    lineRow("dash without closing", R"(C:\a[1-)", P);
    lineRow("later bracket without range", R"(C:\a[1-3]\b[x])", P);
    lineRow("further levels kept", R"(D:\job[1-3]\in)", E, R"(D:\job1\in|D:\job2\in|D:\job3\in)");
    lineRow("only the last range", R"(C:\x[1-2]\y[3-4])", E, R"(C:\x[1-2]\y3|C:\x[1-2]\y4)");
    lineRow("closing bracket after the range", "a[1-2]]", E, "a1]|a2]");
    lineRow("line of blanks", "   ", P);
    lineRow("full-width brackets", R"(C:\a［1－3］)", P);
}

void TestFolderList::expandLine()
{
    QFETCH(QString, line);
    QFETCH(ListLineKind, kind);
    QFETCH(int, count);
    QFETCH(QStringList, entries);

    QStringList out{"before"};
    QCOMPARE(m_syntax ? expandListLine(line, out, *m_syntax) : expandListLine(line, out), kind);
    QCOMPARE(out.takeFirst(), QString("before"));
    QCOMPARE(out.size(), count);
    if (entries.size() == count)
        QCOMPARE(out, entries);
    else
        QCOMPARE((QStringList{out.first(), out.last()}), entries);

    // Measured without expanding, and streamed, it says the same.
    const ListLineSize size = m_syntax ? measureListLine(line, *m_syntax) : measureListLine(line);
    QCOMPARE(size.kind, kind);
    QStringList streamed;
    const auto take = [&streamed](const QString& e) { streamed << e; };
    QCOMPARE(m_syntax ? forEachListEntry(line, *m_syntax, take) : forEachListEntry(line, take),
             kind);
    if (kind == ListLineKind::PlainPath)
        out = QStringList{line};
    QCOMPARE(streamed, out);
    QCOMPARE(size.entries, out.size());
    qint64 characters = 0;
    for (const QString& e : std::as_const(out))
        characters += e.size();
    QCOMPARE(size.characters, characters);
}

void TestFolderList::extendedLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<ListLineKind>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("entries"); // all, or the first and the last
    QTest::addColumn<ListLineProblem>("problem");

    const auto E = ListLineKind::Expanded, P = ListLineKind::PlainPath;
    const auto T = ListLineKind::TooManyDigits;
    const auto None = ListLineProblem::None;
    const auto W = PathStyle::Windows;
    using LP = ListLineProblem;

    // Every range, left to right, the first changing slowest; each keeps its zero-fill.
    extendedRow("product", "p[1-3]/s[01-02]", E, "p1/s01|p1/s02|p2/s01|p2/s02|p3/s01|p3/s02");
    extendedRow("zero-fill per range", "a[8-10]/b[08-10]", E, "a8/b08|a10/b10", 9);
    extendedRow("blank counts for the width", "a[ 7-10]", E, "a07|a08|a09|a10");
    extendedRow("downwards", "a[3-1]", E, "a1|a2|a3");
    extendedRow("full range", "d[00000-99999]", E, "d00000|d99999", 100000);
    extendedRow("one value is text", "a[5-5]b[1-2]", E, "a5b1|a5b2");
    extendedRow("bracket without dash stays", "x[old]/y[1-2]", E, "x[old]/y1|x[old]/y2");
    extendedRow("open bracket inside", "a[[1-2]", E, "a[1|a[2");
    extendedRow("no range at all", "/w/plain", P);
    // Steps: from the lower bound up, the width of the bounds.
    extendedRow("step", "c[001-120:5]", E, "c001|c116", 24);
    extendedRow("step, plain numbers", "c[1-10:3]", E, "c1|c4|c7|c10");
    extendedRow("step downwards", "c[10-1:3]", E, "c1|c4|c7|c10");
    extendedRow("step past the range", "c[1-3:5]", E, "c1");
    // Letters and kana in code-point order, small kana included.
    extendedRow("lower case", "a[a-e]", E, "aa|ab|ac|ad|ae");
    extendedRow("upper case", "[A-Z]", E, "A|Z", 26);
    extendedRow("katakana", "[ア-オ]", E, "ア|ィ|イ|ゥ|ウ|ェ|エ|ォ|オ");
    extendedRow("full-width letters", "[ａ-ｃ]", E, "ａ|ｂ|ｃ");
    extendedRow("letters with a step", "[a-e:2]", E, "a|c|e");
    // Alternatives.
    extendedRow("alternatives", "/w/{in,out,docs/img}", E, "/w/in|/w/out|/w/docs/img");
    extendedRow("subfolders in every number", "/w/case[001-100]/{JPG,RAW,Video}", E,
                "/w/case001/JPG|/w/case100/Video", 300);
    extendedRow("nested", "{a,b{1,2}}", E, "a|b1|b2");
    extendedRow("range inside", "{raw[1-2],jpg}", E, "raw1|raw2|jpg");
    extendedRow("an empty alternative", "f{,.bak}", E, "f|f.bak");
    extendedRow("empty braces", "a{}b", P);
    extendedRow("lone brace", "a{b", P);
    extendedRow("braces without a comma", "a{old}", P);
    extendedRow("stray closing brace", "a}b,c", P);
    extendedRow("inner group of a literal one", "{x{a,b}}", E, "{xa}|{xb}");
    extendedRow(qPrintable(QString("nested %1 deep").arg(MaxAlternativeDepth)),
                nested(MaxAlternativeDepth), E, "a|b", MaxAlternativeDepth + 1);
    // Escapes: the backslash on POSIX, the caret on Windows.
    extendedRow("escaped brace", R"(a\{b,c})", E, "a{b,c}");
    extendedRow("escaped comma", R"({a\,b,c})", E, "a,b|c");
    extendedRow("escaped bracket", R"(a\[1-3])", E, "a[1-3]");
    extendedRow("escaped escape", R"(a\\{b,c})", E, R"(a\b|a\c)");
    extendedRow("backslash before a letter", R"(a\b)", P);
    extendedRow("windows: backslash then group", R"(C:\w\{in,out})", E, R"(C:\w\in|C:\w\out)", -1,
                None, W);
    extendedRow("windows: escaped brace", R"(C:\w\^{in,out})", E, R"(C:\w\{in,out})", -1, None, W);
    extendedRow("windows: escaped caret", R"(C:\^^{a,b})", E, R"(C:\^a|C:\^b)", -1, None, W);
    extendedRow("posix: the same line escapes", R"(C:\w\{in,out})", E, R"(C:\w{in,out})");
    // Dates, from the injected day; names in Japanese.
    extendedRow("date", "/b/{date}", E, "/b/20240305");
    extendedRow("date format", "/b/{date:yyyy-MM}", E, "/b/2024-03");
    extendedRow("date names", "/b/{date:M月d日(ddd)}", E, "/b/3月5日(火)");
    extendedRow("date with a range", "{date}_[1-2]", E, "20240305_1|20240305_2");
    extendedRow("not a date", "{Date}", P);

    // Rejected lines and their reasons; the first wrong part decides.
    rejectedRow("number and letter", "a[x-1]", LP::NumberAndLetter);
    rejectedRow("bound of several letters", "a[abc-1]", LP::BoundNotValue);
    rejectedRow("empty bound", "a[-3]", LP::BoundNotValue);
    rejectedRow("negative bound", "a[1--3]", LP::NegativeBound);
    rejectedRow("date-like name", "a[2024-01-05]", LP::BoundNotValue);
    rejectedRow("mixed case", "a[a-Z]", LP::MixedCase);
    rejectedRow("hiragana to katakana", "a[あ-オ]", LP::DifferentScripts);
    rejectedRow("ascii to full-width", "a[a-ｚ]", LP::DifferentScripts);
    rejectedRow("kanji", "a[一-三]", LP::NotALetter);
    rejectedRow("outside the bmp", "a[😀-😃]", LP::NotALetter);
    rejectedRow("step zero", "a[1-9:0]", LP::BadStep);
    rejectedRow("step a fraction", "a[1-9:1.5]", LP::BadStep);
    rejectedRow("step of six digits", "a[1-9:000001]", LP::BadStep);
    rejectedRow("empty date format", "/b/{date:}", LP::EmptyDateFormat);
    rejectedRow("only empty alternatives", "{,}", LP::EmptyEntry);
    rejectedRow("an entry that is empty", "{a,}", LP::EmptyEntry);
    rejectedRow("too deep", nested(MaxAlternativeDepth + 1), LP::TooDeep);
    rejectedRow("first wrong part decides", "a[1--3]/b[a-Z]", LP::NegativeBound);
    rejectedRow("wrong range in an alternative", "{a[1-x],b}", LP::NumberAndLetter);
    extendedRow("six digits after a good range", "a[1-2]b[000001-2]", T, {}, 0);
    extendedRow("six digits beside a letter", "a[123456-x]", ListLineKind::NotExpandable, {}, 0,
                LP::NumberAndLetter);
}

void TestFolderList::extendedLine()
{
    QFETCH(QString, line);
    QFETCH(PathStyle, style);
    QFETCH(ListLineKind, kind);
    QFETCH(int, count);
    QFETCH(QStringList, entries);
    QFETCH(ListLineProblem, problem);

    const ListSyntax syntax = extendedSyntax(style);
    QStringList out{"before"};
    QCOMPARE(expandListLine(line, out, syntax), kind);
    QCOMPARE(out.takeFirst(), QString("before"));
    if (kind == ListLineKind::PlainPath) { // the caller's to add, as written
        QVERIFY(out.isEmpty());
        out = entries = QStringList{line};
        count = 1;
    }
    QCOMPARE(out.size(), count);
    if (entries.size() == count)
        QCOMPARE(out, entries);
    else if (!entries.isEmpty())
        QCOMPARE((QStringList{out.first(), out.last()}), entries);

    // Measured before anything is made, and streamed: the same.
    const ListLineSize size = measureListLine(line, syntax);
    QCOMPARE(size.kind, kind);
    QCOMPARE(size.problem, problem);
    QCOMPARE(listLineProblemText(problem).isEmpty(), problem == ListLineProblem::None);
    QStringList streamed;
    QCOMPARE(forEachListEntry(line, syntax, [&streamed](const QString& e) { streamed << e; }),
             kind);
    QCOMPARE(streamed, out);
    QCOMPARE(size.entries, out.size());
    qint64 characters = 0;
    for (const QString& e : std::as_const(out))
        characters += e.size();
    QCOMPARE(size.characters, characters);
}

void TestFolderList::extendedBounds_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<qint64>("entries"); // counted
    QTest::addColumn<int>("rejected");

    const QString x(MaxListLineLength - 5, QChar(u'x'));
    QTest::newRow("a million in one line")
        << QStringList{"[0-999]/[0-999]"} << false << qint64(1000000) << 0;
    QTest::newRow("one entry more")
        << QStringList{"[0-999]/[0-999]", "a"} << true << qint64(0) << 0;
    QTest::newRow("ten million") << QStringList{"[0-99999]/[0-99]"} << true << qint64(0) << 0;
    QTest::newRow("a product past 64 bits")
        << QStringList{QString("[0-99999]").repeated(6)} << true << qint64(0) << 0;
    QTest::newRow("alternatives past 64 bits")
        << QStringList{QString("{a,b,c,d}").repeated(40)} << true << qint64(0) << 0;
    QTest::newRow("past the character bound")
        << QStringList{QString(2000, QChar(u'x')) + "[0-999]/[0-99]"} << true << qint64(0) << 0;
    QTest::newRow("the longest line") << QStringList{x + "[1-3]"} << false << qint64(3) << 0;
    QTest::newRow("one character longer")
        << QStringList{x + "[1-3]y", "a"} << false << qint64(1) << 1;
    QTest::newRow("bad and good lines")
        << QStringList{"a[a-Z]", "b[1-2]", "c[1-123456]"} << false << qint64(2) << 2;
}

// The import's bounds hold for the extended syntax: counted before anything is made, and a
// file past them refused as a whole.
void TestFolderList::extendedBounds()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, refused);
    QFETCH(qint64, entries);
    QFETCH(int, rejected);

    for (const bool keep : {false, true}) {
        ListImport import;
        bool bounded = true;
        for (const QString& line : lines)
            bounded =
                bounded && importListLine(line, import, keep, extendedSyntax(PathStyle::Posix));
        QCOMPARE(!bounded, refused);
        QCOMPARE(!import.refusal.isEmpty(), refused);
        if (refused)
            continue;
        QCOMPARE(import.entryCount, entries);
        QCOMPARE(import.entries.size(), keep ? entries : 0);
        QCOMPARE(import.notExpandable.size() + import.tooManyDigits.size(), rejected);
    }
}

void TestFolderList::report_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("inserts");

    const QString longLine(MaxListLineLength + 1, QChar(u'x'));
    QTest::newRow("nothing rejected") << QStringList{"a", "", "b[1-2]"} << -1 << QStringList();
    QTest::newRow("not expandable only")
        << QStringList{"a[x-1]", "ok", "b[-]"} << 20 << QStringList{"a[x-1]\r\nb[-]\r\n", "", ""};
    QTest::newRow("too many digits only")
        << QStringList{"a[1-123456]", "b[0000000-1]"} << 21
        << QStringList{"5", "a[1-123456]\r\nb[0000000-1]\r\n", ""};
    QTest::newRow("both kinds, one message")
        << QStringList{"t[1-999999]", "n[a-b]", "ok", "n2[-1]", "t2[000000-1]"} << 19
        << QStringList{"n[a-b]\r\nn2[-1]\r\n", "5", "t[1-999999]\r\nt2[000000-1]\r\n"};
    QTest::newRow("too long a line, shown cut")
        << QStringList{longLine} << 20
        << QStringList{QString(200, QChar(u'x')) + QString(QChar(u'…')) + "\r\n", "", ""};
    QTest::newRow("longest line accepted")
        << QStringList{QString(MaxListLineLength, QChar(u'x'))} << -1 << QStringList();
    QTest::newRow("beyond the reported lines, a count")
        << QStringList(MaxReportedLines + 3, "n[x-1]") << 20
        << QStringList{QString("n[x-1]\r\n").repeated(MaxReportedLines) + "ほか 3 行\r\n", "", ""};
    QTest::newRow("as many as are reported")
        << QStringList(MaxReportedLines, "t[1-123456]") << 21
        << QStringList{"5", QString("t[1-123456]\r\n").repeated(MaxReportedLines), ""};
}

void TestFolderList::report()
{
    QFETCH(QStringList, lines);
    QFETCH(int, number);
    QFETCH(QStringList, inserts);

    ListImport import;
    for (const QString& line : lines)
        importListLine(line, import, true, m_syntax ? *m_syntax : ListSyntax{});
    const auto report = rejectedLineReport(import);
    QCOMPARE(report.has_value(), number >= 0);
    if (report) {
        QCOMPARE(report->number, number);
        QCOMPARE((QStringList{report->t1, report->t2, report->t3}), inserts);
    }
}

// Rejected lines of the extended syntax are reported as not expandable, each with its reason.
void TestFolderList::extendedReport()
{
    ListImport import;
    const ListSyntax syntax = extendedSyntax(PathStyle::Posix);
    for (const QString& line : QStringList{"a[a-Z]", "ok[1-2]", "b[1-123456]", "c[1-9:0]", "d[x-1"})
        importListLine(line, import, true, syntax);
    importListLine(QString(MaxListLineLength + 1, QChar(u'x')), import, true, syntax);
    const auto report = rejectedLineReport(import);
    QVERIFY(report);
    QCOMPARE(report->number, 19);
    QCOMPARE(report->t1, "a[a-Z] (範囲に大文字と小文字が混ざっています)\r\n"
                         "c[1-9:0] (刻みは 1〜99999 の整数です)\r\n" +
                             QString(200, QChar(u'x')) + "…\r\n");
    QCOMPARE(report->t3, "b[1-123456]\r\n");
    QCOMPARE(import.entries, split("ok1|ok2|d[x-1"));

    // Past the reported lines, the count stands alone, without a reason.
    ListImport many;
    for (int i = 0; i < MaxReportedLines + 2; ++i)
        importListLine("a[a-Z]", many, true, syntax);
    const auto counted = rejectedLineReport(many);
    QVERIFY(counted);
    QVERIFY(counted->t1.endsWith("ほか 2 行\r\n"));
    QCOMPARE(counted->t1.count("大文字"), MaxReportedLines);
}

void TestFolderList::importFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rawLines");
    QTest::addColumn<QStringList>("rejected"); // not expandable, then too many digits
    QTest::addColumn<QStringList>("entries");  // where they differ from the raw lines

    const QStringList none;
    QTest::newRow("empty file") << QByteArray() << none << none << none;
    QTest::newRow("lines as read, blanks kept")
        << QByteArray(" C:\\a[1-2] \r\n\r\nC:\\b[x-1]\r\n C:\\c\r\nC:\\d[1-000001]")
        << split(R"( C:\a[1-2] | C:\c)") << split(R"(C:\b[x-1]|C:\d[1-000001])")
        << split(R"( C:\a1 | C:\a2 | C:\c)");
    QTest::newRow("utf-8 with bom")
        << (bom + QString("C:\\日本[1-2]\r\n😀").toUtf8()) << split(R"(C:\日本[1-2]|😀)") << none
        << split(R"(C:\日本1|C:\日本2|😀)");
    QTest::newRow("utf-8 without bom")
        << QString("連番\r\né").toUtf8() << split("連番|é") << none << none;
    // 表 is 0x95 0x5C: its trail byte is a backslash in ASCII.
    QTest::newRow("code page 932") << QByteArray("\x95\x5C[1-2]\r\n\xB7\xAC\xDD\xBE\xD9")
                                   << split("表[1-2]|ｷｬﾝｾﾙ") << none << split("表1|表2|ｷｬﾝｾﾙ");
    QTest::newRow("invalid byte reported, not an entry")
        << QByteArray("\x95\x5C\r\nba\x80\x80\r\nok") << split("表|ok") << split("ba��") << none;
    QTest::newRow("lead byte cut off at the line end")
        << QByteArray("abc\x82\r\n\x95\x5C") << split("表") << split("abc�") << none;
    // Not UTF-8 as a whole, so code page 932, where C3 is ﾃ.
    QTest::newRow("utf-8 cut off at the end")
        << QByteArray("ok\r\nabc\xC3") << split("ok|abcﾃ") << none << none;
    QTest::newRow("broken utf-8 after a bom")
        << (bom + QByteArray("a\xFF\r\nc")) << split("c") << split("a�") << none;
    QTest::newRow("lf only ends lines")
        << QByteArray("a\nb[1-2]\n") << split("a|b[1-2]") << none << split("a|b1|b2");
    QTest::newRow("lone lf kept beside cr lf")
        << QByteArray("a\nb\r\nc\rd") << split("a\nb|c|d") << none << none;
    const QStringList longStart{QString(200, QChar(u'x')) + QChar(u'…')};
    QTest::newRow("line over the limit")
        << ("a\r\n" + QByteArray(MaxListLineLength + 1, 'x') + "\r\nb") << split("a|b") << longStart
        << none;
    QTest::newRow("line far over the limit")
        << ("a\r\n" + QByteArray(4 * 1024 * 1024, 'x') + "\r\nb") << split("a|b") << longStart
        << none;

    // The reader takes the file in pieces: a CR LF and a character split between two.
    static_assert(TextReadChunk % 3 == 1);
    const int fillerCount = int(TextReadChunk / 3) - 1;
    const QByteArray filler = QByteArray("x\r\n").repeated(fillerCount);
    const QStringList fillerLines(fillerCount, "x");
    QTest::newRow("cr lf across pieces")
        << (filler + "abc\r\nd") << (fillerLines + split("abc|d")) << none << none;
    QTest::newRow("utf-8 across pieces")
        << (filler + QString("ab表").toUtf8()) << (fillerLines + split("ab表")) << none << none;
}

void TestFolderList::importFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rawLines);
    QFETCH(QStringList, rejected);
    QFETCH(QStringList, entries);

    ListImportOptions options;
    if (m_syntax)
        options.syntax = *m_syntax;
    const ListImport import = importBytes(bytes, options);
    QVERIFY(import.opened);
    QVERIFY(import.refusal.isEmpty());
    QCOMPARE(import.rawLines, rawLines);
    QCOMPARE(import.notExpandable + import.tooManyDigits, rejected);
    QCOMPARE(import.entries, entries.isEmpty() ? rawLines : entries);
}

// A file read in the extended syntax, then streamed again as a dry run does, with the same day.
void TestFolderList::extendedFileStreamsWhatItImported()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    QVERIFY(putBytes(path, "/w/case[001-100]/{JPG,RAW,Video}\r\n/w/{date}\r\n"));
    ListImportOptions options;
    options.syntax = extendedSyntax(PathStyle::Posix);
    options.keepLines = true;
    const ListImport import = importListFile(path, options);
    QCOMPARE(import.entries.size(), 301);
    QCOMPARE(import.entries.at(2), QString("/w/case001/Video"));
    QCOMPARE(import.entries.last(), QString("/w/20240305"));
    QCOMPARE(import.entryLines.last(), 2);
    QStringList streamed;
    const auto take = [&streamed](const QString& entry, qint64) {
        return (streamed << entry, true);
    };
    QVERIFY(forEachListFileEntry(path, import.encoding, take, options.syntax));
    QCOMPARE(streamed, import.entries);
}

void TestFolderList::wholeFile_data()
{
    QTest::addColumn<QString>("name"); // of the file, which `bytes` fill
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("yields"); // one per piece read, in both passes

    const QByteArray full = QByteArray("a[00000-99999]\r\n").repeated(MaxListEntries / 100000);
    QTest::newRow("missing") << "missing.txt" << QByteArray() << false << false << 0 << 0;
    QTest::newRow("a folder") << "." << QByteArray() << false << false << 0 << 0;
    QTest::newRow("over the size limit") << "big.txt" << QByteArray() << true << true << 0 << 0;
    QTest::newRow("lines read") << "a.txt" << QByteArray("a[1-500]\r\n\r\nb[x]\r\nc") << true
                                << false << 502 << 2;
    QTest::newRow("as many entries as allowed")
        << "full.txt" << full << true << false << 1000000 << 2;
    QTest::newRow("one entry more") << "full.txt" << (full + "x") << true << true << 0 << 2;
    // One line standing for gigabytes: refused from its measure, before anything is made.
    const QByteArray huge = QByteArray(32700, 'x') + "[00000-99999]\r\n";
    QTest::newRow("one line past the character bound")
        << "huge.txt" << huge << true << true << 0 << 1;
    const QByteArray justFits =
        QByteArray(int(MaxListCharacters / 100000) - 5, 'x') + "[00000-99999]\r\n";
    QTest::newRow("one line at the character bound")
        << "fits.txt" << justFits << true << false << 100000 << 2;
    QTest::newRow("one character more")
        << "more.txt" << ("y\r\n" + justFits) << true << true << 0 << 1;
    const QByteArray pieces = QByteArray("\r\n").repeated(int(TextReadChunk) * 5 / 2);
    QTest::newRow("five pieces of empty lines") << "e.txt" << pieces << true << false << 0 << 10;
}

void TestFolderList::wholeFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, opened);
    QFETCH(bool, refused);
    QFETCH(int, entries);
    QFETCH(int, yields);

    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (name == "big.txt") { // over the size limit
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(MaxListFileBytes + 1)); // sparse
    } else if (!bytes.isEmpty()) {
        QVERIFY(putBytes(path, bytes));
    }
    CountingRun run;
    const ListImport import = importListFile(path, &run);
    QCOMPARE(import.opened, opened);
    QCOMPARE(!import.refusal.isEmpty(), refused);
    QCOMPARE(import.entries.size(), entries);
    QCOMPARE(import.rawLines.isEmpty(), entries == 0);
    QVERIFY(!refused || !rejectedLineReport(import));
    QCOMPARE(run.yields, yields);
}

void TestFolderList::writeAndReadBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    // Code page 932 while every character fits; a lone LF stays inside its line.
    const QStringList fits{"C:\\表[1-2]", "a\nb"};
    QVERIFY(writeListFile(path, fits));
    QCOMPARE(fileBytes(path), QByteArray("C:\\\x95\x5C[1-2]\r\na\nb\r\n"));
    QCOMPARE(importListFile(path, nullptr).rawLines, fits);
    const QStringList wide{"表", "😀"};
    QVERIFY(writeListFile(path, wide));
    QCOMPARE(fileBytes(path), bom + QString("表\r\n😀\r\n").toUtf8());
    QCOMPARE(importListFile(path, nullptr).rawLines, wide);
    QVERIFY(!writeListFile(dir.filePath("missing/out.txt"), wide));
}

void TestFolderList::seriesLines_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QList<int>>("numbers"); // first, last, digits
    QTest::addColumn<bool>("zeroFill");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<int>("cancelAt"); // the step a cancel arrives at, -1 for none

    QTest::newRow("windows") << "C:\\work\\" << QList<int>{1, 20, 3} << true
                             << "C:\\work\\case[001-020]_in" << -1;
    QTest::newRow("posix") << "/home/u/work/" << QList<int>{1, 20, 3} << true
                           << "/home/u/work/case[001-020]_in" << -1;
    QTest::newRow("no zero-fill") << "C:\\w\\" << QList<int>{8, 11, 3} << false
                                  << "C:\\w\\case[8-11]_in" << -1;
    QTest::newRow("five digits") << "C:\\w\\" << QList<int>{0, 99999, 5} << true
                                 << "C:\\w\\case[00000-99999]_in" << -1;
    QTest::newRow("cancelled") << "C:\\work\\" << QList<int>{1, 20, 3} << true
                               << "C:\\work\\case[001-020]_in" << 5;
}

void TestFolderList::seriesLines()
{
    QFETCH(QString, target);
    QFETCH(QList<int>, numbers);
    QFETCH(bool, zeroFill);
    QFETCH(QString, raw);
    QFETCH(int, cancelAt);

    const SeriesParameters p{target, "case", "_in", numbers[0], numbers[1], numbers[2], zeroFill};
    QCOMPARE(seriesRawListLine(p), raw);
    QStringList imported;
    QCOMPARE(expandListLine(raw, imported), ListLineKind::Expanded);

    CountingRun run;
    run.cancelAtYield = cancelAt;
    QStringList lines{"kept"};
    QCOMPARE(seriesExpandedListLines(p, run, lines), cancelAt < 0);
    QCOMPARE(lines.takeFirst(), QString("kept"));
    // The raw line imports back into the very names of the series; a cancel keeps those made.
    QCOMPARE(lines, cancelAt < 0 ? imported : imported.first(cancelAt - 1));
    QCOMPARE(run.yields, cancelAt < 0 ? int(imported.size()) : cancelAt);
}

QTEST_GUILESS_MAIN(TestFolderList)
#include "test_folder_list.moc"
