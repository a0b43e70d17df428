#include "text/TextRules.h"

#include <QTest>

using Mode = RefuseMode;
using Style = PathStyle;

Q_DECLARE_METATYPE(RefuseMode)
Q_DECLARE_METATYPE(PathStyle)

class TestTextRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusedSets();
    void removeRefused_data();
    void removeRefused();
    void foundFlagIsOnlyEverSet();
    void firstLine_data();
    void firstLine();
};

void TestTextRules::refusedSets()
{
    QCOMPARE(refusedChars(Mode::FolderName, Style::Windows), QStringLiteral("\\/|:<>\"*"));
    QCOMPARE(refusedChars(Mode::FolderName, Style::Posix), QStringLiteral("\\/|:<>\"*"));
    QCOMPARE(refusedChars(Mode::Path, Style::Windows), QStringLiteral("/|:<>\"*"));
    QCOMPARE(refusedChars(Mode::Path, Style::Posix), QStringLiteral("\\|:<>\"*"));
}

void TestTextRules::removeRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<RefuseMode>("mode");
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("found");

    QTest::newRow("slash in a name") << "a/" << Mode::FolderName << Style::Windows << "a" << true;
    QTest::newRow("pasted brackets")
        << "x<y>z" << Mode::FolderName << Style::Posix << "xyz" << true;
    QTest::newRow("all eight") << "\\/|:<>\"*" << Mode::FolderName << Style::Windows << "" << true;
    QTest::newRow("question mark allowed")
        << "a?b" << Mode::FolderName << Style::Windows << "a?b" << false;
    QTest::newRow("backslash in a name")
        << "a\\b" << Mode::FolderName << Style::Posix << "ab" << true;
    QTest::newRow("colon in a path")
        << "C:\\work\\a:b" << Mode::Path << Style::Windows << "C:\\work\\ab" << true;
    QTest::newRow("backslash in a path")
        << "C:\\work\\a\\b" << Mode::Path << Style::Windows << "C:\\work\\a\\b" << false;
    QTest::newRow("drive root") << "C:\\" << Mode::Path << Style::Windows << "C:\\" << false;
    QTest::newRow("three characters unchecked")
        << "*:|" << Mode::Path << Style::Windows << "*:|" << false;
    QTest::newRow("slash after the drive")
        << "C:\\a/b*" << Mode::Path << Style::Windows << "C:\\ab" << true;
    QTest::newRow("posix path") << "/home/a/b" << Mode::Path << Style::Posix << "/home/a/b"
                                << false;
    QTest::newRow("posix colon") << "/home/a:b" << Mode::Path << Style::Posix << "/home/ab" << true;
    QTest::newRow("posix backslash")
        << "/home/a\\b" << Mode::Path << Style::Posix << "/home/ab" << true;
    QTest::newRow("posix checks from the start")
        << "*/a" << Mode::Path << Style::Posix << "/a" << true;
}

void TestTextRules::removeRefused()
{
    QFETCH(QString, text);
    QFETCH(RefuseMode, mode);
    QFETCH(PathStyle, style);
    QFETCH(QString, expected);
    QFETCH(bool, found);
    bool hit = false;
    QCOMPARE(removeRefusedChars(text, mode, style, hit), expected);
    QCOMPARE(hit, found);
}

void TestTextRules::foundFlagIsOnlyEverSet()
{
    bool found = true;
    removeRefusedChars(QStringLiteral("clean"), Mode::FolderName, Style::Windows, found);
    QVERIFY(found);
}

void TestTextRules::firstLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no break") << "case"
                              << "case";
    QTest::newRow("crlf") << "case\r\nmore\r\nrest"
                          << "case";
    // The Linux clipboard separates pasted lines with LF alone.
    QTest::newRow("lone lf ends it") << "a\nb"
                                     << "a";
    QTest::newRow("lone cr ends it") << "a\rb"
                                     << "a";
    QTest::newRow("lf before crlf") << "a\nb\r\nc"
                                    << "a";
    QTest::newRow("break first") << "\r\nx"
                                 << "";
}

void TestTextRules::firstLine()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(firstTextLine(text), expected);
}

QTEST_APPLESS_MAIN(TestTextRules)
#include "test_text_rules.moc"
