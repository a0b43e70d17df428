// The same byte tables run against Qt's converter on Linux and against Windows' own on Windows,
// and against a build without any converter.

#include "TestHelpers.h"
#include "text/CodePage932.h"
#include "text/TextFile.h"
#include "text/TextReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCodePage932 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { cp932::setMissingForTests(false); }

    void bothWays_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");

        // 0x5C as a trail byte is part of the character, not a path separator.
        QTest::newRow("0x5C trail bytes") << QByteArray::fromHex("955c835c945c975c8f5c935c")
                                          << QString::fromUtf16(u"表ソ能予十貼");
        QTest::newRow("0x5C and 0x7E alone stay ASCII")
            << QByteArray("C:\\work\\~x") << QString::fromUtf16(u"C:\\work\\~x");
        QTest::newRow("half-width katakana")
            << QByteArray::fromHex("b1dd") << QString::fromUtf16(u"ｱﾝ");
        QTest::newRow("NEC row 13")
            << QByteArray::fromHex("8740875487828a8a") << QString::fromUtf16(u"①Ⅰ№滑");
        QTest::newRow("NEC row 13, ㈱") << QByteArray::fromHex("878a") << QString::fromUtf16(u"㈱");
        QTest::newRow("symbols Windows maps its own way")
            << QByteArray::fromHex("81ca8161817c8160") << QString::fromUtf16(u"￢∥－～");
    }

    void bothWays()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(cp932::decode(bytes), std::optional<QString>(text));
        QCOMPARE(cp932::encode(text), std::optional<QByteArray>(bytes));
    }

    // Duplicates in the table: the NEC and IBM rows hold characters that also have a code of
    // their own. They read as that character and are written with its one code.
    void readOneWay_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("written");

        QTest::newRow("NEC ≒") << QByteArray::fromHex("8790") << QString::fromUtf16(u"≒")
                               << QByteArray::fromHex("81e0");
        QTest::newRow("NEC ∵") << QByteArray::fromHex("879a") << QString::fromUtf16(u"∵")
                               << QByteArray::fromHex("81e6");
        QTest::newRow("IBM ￢") << QByteArray::fromHex("fa54") << QString::fromUtf16(u"￢")
                                << QByteArray::fromHex("81ca");
        QTest::newRow("IBM ∵") << QByteArray::fromHex("fa5b") << QString::fromUtf16(u"∵")
                               << QByteArray::fromHex("81e6");
        QTest::newRow("IBM Ⅰ") << QByteArray::fromHex("fa4a") << QString::fromUtf16(u"Ⅰ")
                               << QByteArray::fromHex("8754");
    }

    void readOneWay()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QByteArray, written);
        QCOMPARE(cp932::decode(bytes), std::optional<QString>(text));
        QCOMPARE(cp932::encode(text), std::optional<QByteArray>(written));
    }

    // The NEC-selected and the IBM extension kanji have two codes each; converters differ in
    // which they write, so only the reading and the round trip are fixed.
    void extensionKanji_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");

        QTest::newRow("NEC-selected 纊")
            << QByteArray::fromHex("ed40") << QString::fromUtf16(u"纊");
        QTest::newRow("IBM 纊") << QByteArray::fromHex("fa5c") << QString::fromUtf16(u"纊");
        QTest::newRow("IBM 髙") << QByteArray::fromHex("fbfc") << QString::fromUtf16(u"髙");
        QTest::newRow("NEC-selected 髙")
            << QByteArray::fromHex("eee0") << QString::fromUtf16(u"髙");
        QTest::newRow("IBM ⅰ") << QByteArray::fromHex("fa40") << QString::fromUtf16(u"ⅰ");
    }

    void extensionKanji()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(cp932::decode(bytes), std::optional<QString>(text));
        const auto written = cp932::encode(text);
        QVERIFY(written.has_value());
        QCOMPARE(cp932::decode(*written), std::optional<QString>(text));
    }

    // Characters a lenient converter writes as a look-alike: read back they would be another
    // text, so they have no code page 932 form at all.
    void notWritable_data()
    {
        QTest::addColumn<QString>("text");

        QTest::newRow("wave dash") << QString::fromUtf16(u"〜");
        QTest::newRow("minus sign") << QString::fromUtf16(u"−");
        QTest::newRow("double vertical line") << QString::fromUtf16(u"‖");
        QTest::newRow("not sign") << QString::fromUtf16(u"¬");
        QTest::newRow("hangul") << QString::fromUtf16(u"한");
        QTest::newRow("emoji after kanji") << QString::fromUtf16(u"表😀");
        QTest::newRow("e acute") << QString::fromUtf16(u"é");
    }

    void notWritable()
    {
        QFETCH(QString, text);
        QCOMPARE(cp932::encode(text), std::nullopt);
    }

    // How a line that is no text is shown: decided in one place for every host, so these
    // rows check on Linux what Windows' converter is given too.
    void notText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");

        const QString r(QChar::ReplacementCharacter);
        QTest::newRow("unassigned row 0x85") << QByteArray::fromHex("8540") << r;
        QTest::newRow("0x7F as a trail") << QByteArray::fromHex("41817f") << "A" + r;
        QTest::newRow("lead byte at the end")
            << QByteArray::fromHex("41954142955c95") << QString::fromUtf16(u"A柊B表") + r;
        QTest::newRow("0x80") << QByteArray::fromHex("418042") << "A" + r + "B";
        QTest::newRow("0xA0") << QByteArray::fromHex("a0") << r;
        QTest::newRow("0xFD between kanji")
            << QByteArray::fromHex("955cfd955c") << QString::fromUtf16(u"表") + r + u"表";
    }

    void notText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QCOMPARE(cp932::decode(bytes), std::nullopt);
        QString text;
        cp932::LineDecoder lines;
        // Twice: a decoder that has met one bad line still sees the next.
        for (int i = 0; i < 2; ++i) {
            QVERIFY(!lines.decode(bytes, text));
            QCOMPARE(text, shown);
        }
        QVERIFY(lines.decode(QByteArray::fromHex("955c"), text));
        QCOMPARE(text, QString::fromUtf16(u"表"));
    }

    // Each line on its own: a character is never put together across a line end.
    void linesDecodeOnTheirOwn()
    {
        cp932::LineDecoder lines;
        QString text;
        QVERIFY(!lines.decode(QByteArray::fromHex("4195"), text));
        QVERIFY(lines.decode(QByteArray::fromHex("955c"), text));
        QCOMPARE(text, QString::fromUtf16(u"表"));
    }

    // Without a converter nothing is guessed: a list is not read and a file is not written in
    // another encoding than it would say.
    void withoutConverter_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("opened");

        QTest::newRow("code page 932")
            << QByteArray::fromHex("955c0d0a") << int(TextReader::Opened::NoConverter);
        QTest::newRow("katakana pairs, both readings")
            << QByteArray::fromHex("c3bdc3bd0d0a") << int(TextReader::Opened::NoConverter);
        QTest::newRow("UTF-8 with BOM")
            << QByteArray("\xEF\xBB\xBF") + QString::fromUtf16(u"表\r\n").toUtf8()
            << int(TextReader::Opened::Ok);
        QTest::newRow("ASCII") << QByteArray("C:\\work\\a[1-3]\r\n") << int(TextReader::Opened::Ok);
    }

    void withoutConverter()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, opened);
        cp932::setMissingForTests(true);
        QVERIFY(!cp932::available());
        QVERIFY(!cp932::missingText().isEmpty());
        QCOMPARE(cp932::decode(QByteArray::fromHex("955c")), std::nullopt);
        QCOMPARE(cp932::encode(QStringLiteral("abc")), std::nullopt);
        TextReader reader;
        QCOMPARE(int(reader.openBytes(bytes)), opened);
    }

    void writingWithoutConverter()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("list.txt");
        QVERIFY(writeTextLines(path, {QStringLiteral("old")}));
        cp932::setMissingForTests(true);

        TextWriteError error = TextWriteError::None;
        QVERIFY(!writeTextLines(path, {QString::fromUtf16(u"C:\\表")}, &error));
        QCOMPARE(error, TextWriteError::NoConverter);
        QCOMPARE(textFileBytes({QString::fromUtf16(u"表")}), std::nullopt);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old\r\n"));
        f.close();

        // ASCII is the same in both, so it is written all the same.
        QVERIFY(writeTextLines(path, {QStringLiteral("C:\\a")}, &error));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("C:\\a\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestCodePage932)
#include "test_code_page_932.moc"
