#include "TestHelpers.h"
#include "text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace
{
const QByteArray bom("\xEF\xBB\xBF", 3);

} // namespace

class TestTextFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void roundTripOnDisk_data();
    void roundTripOnDisk();
    void missingFileIsNotOk();
    void failedWriteKeepsOldFile();
};

void TestTextFile::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("crlf lines") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("last line without end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("lone cr ends a line") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("lone lf stays in the line")
        << QByteArray("a\nb\r\nc\n") << QStringList{"a\nb", "c\n"};
    QTest::newRow("cr before crlf") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << QStringList{"", ""};
    QTest::newRow("only lf") << QByteArray("1\n0\n") << QStringList{"1\n0\n"};
    QTest::newRow("utf-8 with bom")
        << (bom + QStringLiteral("日本語\r\n😀").toUtf8()) << QStringList{"日本語", "😀"};
    QTest::newRow("utf-8 by hand, no bom")
        << QStringLiteral("連番\r\nフォルダ").toUtf8() << QStringList{"連番", "フォルダ"};
    // 表 is 0x95 0x5C: the trail byte is a backslash in ASCII.
    QTest::newRow("code page 932") << QByteArray("\x95\x5C\x8E\xA6\r\n\xB7\xAC\xDD\xBE\xD9\r\n")
                                   << QStringList{"表示", "ｷｬﾝｾﾙ"};
    QTest::newRow("code page 932 extensions")
        << QByteArray("\x87\x40\xFB\xFC") << QStringList{"①髙"};
    // A UTF-8 lead byte cut off at the end is not valid UTF-8; as code page 932 it is ﾃ.
    QTest::newRow("truncated utf-8 at end") << QByteArray("abc\xC3") << QStringList{"abcﾃ"};
}

void TestTextFile::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(decodeTextLines(bytes), lines);
}

void TestTextFile::encode_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("nothing") << QStringList() << QByteArray();
    QTest::newRow("empty lines") << QStringList{"", ""} << QByteArray("\r\n\r\n");
    QTest::newRow("ascii") << QStringList{" 1 ", "C:\\a\\"} << QByteArray(" 1 \r\nC:\\a\\\r\n");
    QTest::newRow("japanese in code page 932")
        << QStringList{"表示", "ｷｬﾝｾﾙ"}
        << QByteArray("\x95\x5C\x8E\xA6\r\n\xB7\xAC\xDD\xBE\xD9\r\n");
    QTest::newRow("nec and ibm extensions")
        << QStringList{"①髙"} << QByteArray("\x87\x40\xFB\xFC\r\n");
    QTest::newRow("emoji needs utf-8")
        << QStringList{"表", "😀"} << (bom + QStringLiteral("表\r\n😀\r\n").toUtf8());
    QTest::newRow("circled letter needs utf-8")
        << QStringList{"ⓐ"} << (bom + QStringLiteral("ⓐ\r\n").toUtf8());
    QTest::newRow("yen sign needs utf-8")
        << QStringList{"¥"} << (bom + QStringLiteral("¥\r\n").toUtf8());
    QTest::newRow("lone lf kept") << QStringList{"a\nb"} << QByteArray("a\nb\r\n");
}

void TestTextFile::encode()
{
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeTextLines(lines), bytes);
}

void TestTextFile::roundTripOnDisk_data()
{
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("japanese") << QStringList{"連番フォルダ", "ｷｬﾝｾﾙ", "～－①"};
    QTest::newRow("outside code page 932") << QStringList{"𠮷野家", "ⓐ", "😀", "é"};
    QTest::newRow("lone lf and blanks") << QStringList{" a\nb ", "", "\t"};
    QTest::newRow("long line") << QStringList{QString(200000, QChar(u'表'))};
}

void TestTextFile::roundTripOnDisk()
{
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    QVERIFY(writeTextLines(path, lines));
    const TextFileRead read = readTextLines(path);
    QVERIFY(read.ok);
    QCOMPARE(read.lines, lines);
}

void TestTextFile::missingFileIsNotOk()
{
    QTemporaryDir dir;
    QVERIFY(!readTextLines(dir.filePath("none.txt")).ok);
    QVERIFY(!readTextLines(dir.path()).ok);
}

void TestTextFile::failedWriteKeepsOldFile()
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath("file");
    QVERIFY(putBytes(blocker, "old\r\n"));
    // Even root cannot create anything below a plain file.
    QVERIFY(!writeTextLines(blocker + "/list.txt", {"x"}));
    // A folder in the way is not replaced.
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QVERIFY(!writeTextLines(dir.filePath("sub"), {"x"}));
    QVERIFY(QFileInfo(dir.filePath("sub")).isDir());
    QCOMPARE(fileBytes(blocker), QByteArray("old\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList({"file", "sub"}));
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "test_text_file.moc"
