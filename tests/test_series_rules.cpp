#include "series/SeriesRules.h"

#include <QTest>

using Mode = RefuseMode;
using Style = PathStyle;

Q_DECLARE_METATYPE(RefuseMode)
Q_DECLARE_METATYPE(PathStyle)
Q_DECLARE_METATYPE(SeriesField)

namespace
{
const NumberField* fieldNamed(const QByteArray& name)
{
    if (name == "start")
        return &NoStartField;
    if (name == "end")
        return &NoEndField;
    return &NoKetaField;
}
} // namespace

class TestSeriesRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanNameFieldCaret_data();
    void cleanNameFieldCaret();
    void clamp_data();
    void clamp();
    void step_data();
    void step();
    void numberText_data();
    void numberText();
    void validation_data();
    void validation();
};

void TestSeriesRules::cleanNameFieldCaret_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedCaret");

    QTest::newRow("typed after a") << "a/" << 2 << "a" << 1;
    QTest::newRow("typed in the middle") << "ab|cd" << 3 << "abcd" << 2;
    QTest::newRow("pasted, caret past the end") << "x<y>z" << 5 << "xyz" << 3;
    QTest::newRow("caret at 0 stays put") << "/a" << 0 << "a" << -1;
    QTest::newRow("nothing refused") << "abc" << 2 << "abc" << -1;
}

void TestSeriesRules::cleanNameFieldCaret()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, expected);
    QFETCH(int, expectedCaret);
    const NameFieldCorrection c = cleanNameField(text, caret, Mode::FolderName, Style::Windows);
    QCOMPARE(c.text, expected);
    QCOMPARE(c.caret, expectedCaret);
    QCOMPARE(c.found, text != expected);
}

void TestSeriesRules::clamp_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("notNumber");

    QTest::newRow("empty stays empty") << QByteArray("start") << ""
                                       << "" << false;
    QTest::newRow("not normalised") << QByteArray("start") << "007"
                                    << "007" << false;
    QTest::newRow("exponent above max") << QByteArray("start") << "1e5"
                                        << "99999" << false;
    QTest::newRow("beyond 32 bits") << QByteArray("end") << "1e10"
                                    << "99999" << false;
    QTest::newRow("far beyond") << QByteArray("end") << "9e99"
                                << "99999" << false;
    QTest::newRow("below 32 bits") << QByteArray("start") << "-1e10"
                                   << "0" << false;
    QTest::newRow("negative digits") << QByteArray("keta") << "-3"
                                     << "1" << false;
    QTest::newRow("digits above max") << QByteArray("keta") << "9"
                                      << "5" << false;
    QTest::newRow("letter") << QByteArray("keta") << "x"
                            << "3" << true;
    QTest::newRow("lone minus") << QByteArray("start") << "-"
                                << "1" << true;
    QTest::newRow("lone space") << QByteArray("end") << " "
                                << "10" << true;
    QTest::newRow("lone point") << QByteArray("end") << "."
                                << "10" << true;
    // Read from a settings file: judged in one pass, never by backtracking through the digits.
    QTest::newRow("a million digits and a letter")
        << QByteArray("start") << QString(1000000, QChar(u'7')) + "x"
        << "1" << true;
    QTest::newRow("a million digits")
        << QByteArray("end") << QString(1000000, QChar(u'7')) << "99999" << false;
    QTest::newRow("exponent without digits") << QByteArray("end") << "1e"
                                             << "10" << true;
    QTest::newRow("half rounds to even, in range") << QByteArray("keta") << "2.5"
                                                   << "2.5" << false;
    QTest::newRow("half rounds down below min") << QByteArray("keta") << "0.5"
                                                << "1" << false;
    QTest::newRow("rounds above max") << QByteArray("keta") << "5.5"
                                      << "5" << false;
    QTest::newRow("blanks around") << QByteArray("end") << " 12 "
                                   << " 12 " << false;
    QTest::newRow("hex is no number") << QByteArray("end") << "0x10"
                                      << "10" << true;
    QTest::newRow("infinity is no number") << QByteArray("end") << "inf"
                                           << "10" << true;
}

void TestSeriesRules::clamp()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(bool, notNumber);
    const ClampResult r = clampNumberText(text, *fieldNamed(field));
    QCOMPARE(r.text, expected);
    QCOMPARE(r.notNumber, notNumber);
}

void TestSeriesRules::step_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("up at max") << QByteArray("end") << "99999" << KeyCode::Up << "99999";
    QTest::newRow("down at min") << QByteArray("start") << "0" << KeyCode::Down << "0";
    QTest::newRow("up on empty gives default") << QByteArray("keta") << "" << KeyCode::Up << "3";
    QTest::newRow("down on empty gives min") << QByteArray("keta") << "" << KeyCode::Down << "1";
    QTest::newRow("up on empty end") << QByteArray("end") << "" << KeyCode::Up << "10";
    QTest::newRow("down on empty start") << QByteArray("start") << "" << KeyCode::Down << "0";
    QTest::newRow("up") << QByteArray("start") << "5" << KeyCode::Up << "6";
    QTest::newRow("up normalises") << QByteArray("start") << "007" << KeyCode::Up << "8";
    QTest::newRow("down") << QByteArray("keta") << "3" << KeyCode::Down << "2";
    QTest::newRow("space empties") << QByteArray("end") << "42" << KeyCode::Space << "";
    QTest::newRow("space on empty") << QByteArray("end") << "" << KeyCode::Space << "";
    QTest::newRow("other key") << QByteArray("end") << "42" << 65 << "42";
}

void TestSeriesRules::step()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QString, expected);
    QCOMPARE(stepNumberText(text, *fieldNamed(field), key), expected);
}

void TestSeriesRules::numberText_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("digits");
    QTest::addColumn<bool>("zeroFill");
    QTest::addColumn<QString>("expected");
    QTest::newRow("7 in three") << 7 << 3 << true << "007";
    QTest::newRow("42 in three") << 42 << 3 << true << "042";
    QTest::newRow("42 in five") << 42 << 5 << true << "00042";
    QTest::newRow("0 in one") << 0 << 1 << true << "0";
    QTest::newRow("99999 in five") << 99999 << 5 << true << "99999";
    QTest::newRow("six digits cut to three") << 123456 << 3 << true << "456";
    QTest::newRow("the cut keeps inner zeros") << 100005 << 3 << true << "005";
    QTest::newRow("plain") << 42 << 3 << false << "42";
    QTest::newRow("plain ignores digits") << 99999 << 1 << false << "99999";
}

void TestSeriesRules::numberText()
{
    QFETCH(int, n);
    QFETCH(int, digits);
    QFETCH(bool, zeroFill);
    QFETCH(QString, expected);
    QCOMPARE(::numberText(n, digits, zeroFill), expected);
    const SeriesParameters p{QStringLiteral("C:\\w\\"),
                             QStringLiteral("case"),
                             QStringLiteral("_x"),
                             0,
                             0,
                             digits,
                             zeroFill};
    QCOMPARE(seriesFolderName(p, n),
             QStringLiteral("C:\\w\\case") + expected + QStringLiteral("_x"));
}

void TestSeriesRules::validation_data()
{
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<QStringList>("fields"); // folder, start, end, keta, prefix, suffix
    QTest::addColumn<bool>("zeroFill");
    QTest::addColumn<int>("message");
    QTest::addColumn<SeriesField>("field");
    QTest::addColumn<QString>("fieldText");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QList<int>>("numbers"); // first, last, digits

    const QString prog = QStringLiteral("PROG");
    using F = SeriesField;
    QTest::newRow("valid windows")
        << Style::Windows << QStringList{"C:\\work", "1", "10", "3", "case", ""} << true << -1
        << F::None << ""
        << "C:\\work\\" << QList<int>{1, 10, 3};
    QTest::newRow("trailing separator kept")
        << Style::Windows << QStringList{"C:\\work\\", "1", "10", "3", "", ""} << true << -1
        << F::None << ""
        << "C:\\work\\" << QList<int>{1, 10, 3};
    // A name or path pasted with a line break keeps only its first line: no folder name
    // holds a break.
    QTest::newRow("lf in the name parts")
        << Style::Posix << QStringList{"/tmp/x\n", "1", "2", "3", "ab\ncd", "s\rt"} << true << -1
        << F::None << ""
        << "/tmp/x/" << QList<int>{1, 2, 3};
    QTest::newRow("valid posix") << Style::Posix << QStringList{"/tmp/x", "1", "10", "3", "", ""}
                                 << true << -1 << F::None << ""
                                 << "/tmp/x/" << QList<int>{1, 10, 3};
    QTest::newRow("empty folder is the program's")
        << Style::Posix << QStringList{"", "1", "10", "3", "", ""} << true << -1 << F::None << ""
        << "PROG/" << QList<int>{1, 10, 3};
    QTest::newRow("refused in folder")
        << Style::Windows << QStringList{"C:\\work\\a:b", "", "", "", "", ""} << true << 2
        << F::Folder << "C:\\work\\ab"
        << "" << QList<int>{};
    QTest::newRow("refused in posix folder")
        << Style::Posix << QStringList{"/work/a\\b", "1", "10", "3", "", ""} << true << 2
        << F::Folder << "/work/ab"
        << "" << QList<int>{};
    QTest::newRow("short drive passes")
        << Style::Windows << QStringList{"C:\\", "1", "1", "3", "", ""} << true << -1 << F::None
        << ""
        << "C:\\" << QList<int>{1, 1, 3};
    QTest::newRow("first empty before the rest")
        << Style::Windows << QStringList{"C:\\w", "", "", "", "", ""} << true << 4 << F::NoStart
        << "1"
        << "" << QList<int>{};
    QTest::newRow("last empty") << Style::Windows << QStringList{"C:\\w", "1", "", "", "", ""}
                                << true << 5 << F::NoEnd << "10"
                                << "" << QList<int>{};
    QTest::newRow("digits empty") << Style::Windows << QStringList{"C:\\w", "1", "10", "", "", ""}
                                  << false << 6 << F::NoKeta << "3"
                                  << "" << QList<int>{};
    QTest::newRow("swapped bounds")
        << Style::Windows << QStringList{"C:\\w", "20", "5", "3", "", ""} << true << -1 << F::None
        << ""
        << "C:\\w\\" << QList<int>{5, 20, 3};
    QTest::newRow("two digits hold 99")
        << Style::Windows << QStringList{"C:\\w", "1", "99", "2", "", ""} << true << -1 << F::None
        << ""
        << "C:\\w\\" << QList<int>{1, 99, 2};
    QTest::newRow("two digits cannot hold 100")
        << Style::Windows << QStringList{"C:\\w", "1", "100", "2", "", ""} << true << 7 << F::NoKeta
        << "3"
        << "" << QList<int>{};
    QTest::newRow("swap counts for the digit test")
        << Style::Windows << QStringList{"C:\\w", "100", "1", "2", "", ""} << true << 7 << F::NoKeta
        << "3"
        << "" << QList<int>{};
    QTest::newRow("no zero-fill, no digit test")
        << Style::Windows << QStringList{"C:\\w", "1", "99999", "1", "", ""} << false << -1
        << F::None << ""
        << "C:\\w\\" << QList<int>{1, 99999, 1};
    QTest::newRow("name parts up to the line break")
        << Style::Windows << QStringList{"C:\\w", "1", "2", "3", "a\r\nb", "s\r\n"} << true << -1
        << F::None << ""
        << "C:\\w\\" << QList<int>{1, 2, 3};
    QTest::newRow("halves round to even")
        << Style::Windows << QStringList{"C:\\w", "2.5", "3.5", "3", "", ""} << true << -1
        << F::None << ""
        << "C:\\w\\" << QList<int>{2, 4, 3};
}

void TestSeriesRules::validation()
{
    QFETCH(PathStyle, style);
    QFETCH(QStringList, fields);
    QFETCH(bool, zeroFill);
    QFETCH(int, message);
    QFETCH(SeriesField, field);
    QFETCH(QString, fieldText);
    QFETCH(QString, target);
    QFETCH(QList<int>, numbers);

    const SeriesFieldTexts texts{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
    const SeriesValidation v = getSeriesParameters(texts, zeroFill, style, QStringLiteral("PROG"));
    QCOMPARE(v.ok, message < 0);
    QCOMPARE(v.message, message);
    QCOMPARE(v.field, field);
    if (!v.ok) {
        QCOMPARE(v.fieldText, fieldText);
        if (message == 2)
            QCOMPARE(v.insert, refusedChars(RefuseMode::Path, style));
        return;
    }
    QCOMPARE(v.params.targetFolder, target);
    QCOMPARE(v.params.first, numbers[0]);
    QCOMPARE(v.params.last, numbers[1]);
    QCOMPARE(v.params.digits, numbers[2]);
    QCOMPARE(v.params.zeroFill, zeroFill);
    QCOMPARE(v.params.prefix, firstTextLine(fields[4]));
    QCOMPARE(v.params.suffix, firstTextLine(fields[5]));
}

QTEST_APPLESS_MAIN(TestSeriesRules)
#include "test_series_rules.moc"
