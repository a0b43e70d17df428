#include "TestHelpers.h"
#include "text/TextFile.h"
#include "text/TextReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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
    void encodingJudged_data();
    void encodingJudged();
    void onlyRegularFilesAreRead();
    void readingCanBeStopped();
    void failedWriteKeepsOldFile();
    void writesOnlyWhereAllowed_data();
    void writesOnlyWhereAllowed();
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
    // Characters a converter maps one way only (U+F86F becomes the bytes of №), or only by a
    // best fit: their bytes would read back as another character.
    for (const char* oneWay : {"\uF86F", "〜", "−", "‖", "¬", "¢"})
        QTest::addRow("U+%04X needs utf-8", QString::fromUtf8(oneWay).at(0).unicode())
            << QStringList{QString::fromUtf8(oneWay)} << (bom + QByteArray(oneWay) + "\r\n");
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

void TestTextFile::encodingJudged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("choice"); // an EncodingChoice
    QTest::addColumn<int>("encoding");
    QTest::addColumn<int>("reason");
    QTest::addColumn<QString>("firstLine");

    const int autoChoice = int(EncodingChoice::Auto);
    const int utf8 = int(TextEncoding::Utf8), cp932 = int(TextEncoding::CodePage932);
    using R = EncodingReason;
    // ﾃ is C3 and ー is 81 5B: valid UTF-8 too, where they read as Á[.
    const QByteArray f1("/tmp/F1/\xC3\x81\x5B"
                        "1-3]\r\n");
    const QByteArray tete("\xC3\xBD\xC3\xBD\r\n"); // ﾃｽﾃｽ, or ýý
    QTest::newRow("half-width katakana valid as utf-8")
        << f1 << autoChoice << cp932 << int(R::Japanese932) << "/tmp/F1/ﾃー1-3]";
    QTest::newRow("katakana pairs valid as utf-8")
        << tete << autoChoice << cp932 << int(R::Japanese932) << "ﾃｽﾃｽ";
    QTest::newRow("the same with lf only")
        << QByteArray("\xC3\xBD\xC3\xBD\n") << autoChoice << utf8 << int(R::LfOnly) << "ýý";
    QTest::newRow("the same after a bom")
        << (bom + tete) << autoChoice << utf8 << int(R::ByteOrder) << "ýý";
    QTest::newRow("broken utf-8 after a bom stays utf-8")
        << (bom + QByteArray("a\xFF\x95\x5C\r\n")) << autoChoice << utf8 << int(R::ByteOrder)
        << "a\uFFFD\uFFFD\\";
    QTest::newRow("japanese utf-8 with a foreign letter")
        << QString("連番\r\né").toUtf8() << autoChoice << utf8 << int(R::Utf8Text) << "連番";
    QTest::newRow("japanese utf-8") << QString("フォルダ[1-2]\r\n").toUtf8() << autoChoice << utf8
                                    << int(R::Utf8Text) << "フォルダ[1-2]";
    // C2 80 is U+0080 in UTF-8; in code page 932 80 is no character.
    QTest::newRow("valid in both, no japanese either way")
        << QByteArray("\xC2\x80\r\n") << autoChoice << utf8 << int(R::Utf8Text) << "\u0080";
    QTest::newRow("not utf-8") << QByteArray("\x95\x5C\x8E\xA6\r\n") << autoChoice << cp932
                               << int(R::NotUtf8) << "表示";
    QTest::newRow("ascii") << QByteArray("C:\\a[1-2]\r\n") << autoChoice << utf8
                           << int(R::OnlyAscii) << "C:\\a[1-2]";
    QTest::newRow("asked for utf-8")
        << f1 << int(EncodingChoice::Utf8) << utf8 << int(R::Asked) << "/tmp/F1/Á[1-3]";
    QTest::newRow("asked for code page 932")
        << QString("表\r\n").toUtf8() << int(EncodingChoice::CodePage932) << cp932 << int(R::Asked)
        << "陦ｨ";
}

void TestTextFile::encodingJudged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, choice);
    QFETCH(QString, firstLine);
    TextReader reader;
    reader.setEncoding(EncodingChoice(choice));
    QCOMPARE(reader.openBytes(bytes), TextReader::Opened::Ok);
    QTEST(int(reader.encoding()), "encoding");
    QTEST(int(reader.reason()), "reason");
    QString first;
    reader.readLines([&first](const TextReader::Line& line) {
        first = line.text;
        return false;
    });
    QCOMPARE(first, firstLine);
}

void TestTextFile::onlyRegularFilesAreRead()
{
    QTemporaryDir dir;
    TextReader reader;
#ifdef Q_OS_UNIX
    const QString fifo = dir.filePath("fifo");
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    // No writer: a blocking open would wait for ever.
    QCOMPARE(reader.open(fifo, -1), TextReader::Opened::NotAFile);
    QCOMPARE(reader.open("/dev/null", -1), TextReader::Opened::NotAFile);
    QVERIFY(!readTextLines(fifo).ok);
#else
    // A device name reads as a file to naive checks, and would block or read nothing.
    QVERIFY(reader.open("NUL", -1) != TextReader::Opened::Ok);
    QVERIFY(reader.open(dir.filePath("CON"), -1) != TextReader::Opened::Ok);
    QVERIFY(!readTextLines("\\\\.\\NUL").ok);
#endif
    QCOMPARE(reader.open(dir.path(), -1), TextReader::Opened::NotAFile);
    QCOMPARE(reader.open(dir.filePath("none"), -1), TextReader::Opened::CannotOpen);
}

void TestTextFile::readingCanBeStopped()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    QVERIFY(putBytes(path, QByteArray("a\r\n").repeated(int(TextReadChunk))));
    for (const bool inScan : {true, false}) {
        TextReader reader;
        int calls = 0;
        auto stopAtThird = [&calls](qint64 done, qint64 total) {
            return done <= total && ++calls < 3;
        };
        std::function<bool(qint64, qint64)> duringScan;
        if (inScan)
            duringScan = stopAtThird;
        const auto opened = reader.open(path, -1, duringScan);
        if (inScan) {
            QCOMPARE(opened, TextReader::Opened::ReadError);
            QVERIFY(reader.cancelled());
            continue;
        }
        QCOMPARE(opened, TextReader::Opened::Ok);
        qsizetype lines = 0;
        QVERIFY(!reader.readLines(
            [&lines](const TextReader::Line&) {
                ++lines;
                return true;
            },
            stopAtThird));
        QVERIFY(reader.cancelled());
        // The third piece is the file's last: every line was handed over, then it stopped.
        QCOMPARE(lines, qsizetype(TextReadChunk));
    }
}

void TestTextFile::writesOnlyWhereAllowed_data()
{
    // What stands at the path before, and whether the write goes through.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("problem"); // empty: written
    QTest::newRow("nothing") << ""
                             << "";
    QTest::newRow("a file: its mode is kept") << "file 0640"
                                              << "";
    QTest::newRow("a read-only file: left as it is") << "file 0444"
                                                     << "read_only";
    QTest::newRow("a link of one's own: its target written") << "own link"
                                                             << "";
    QTest::newRow("a dangling link") << "dangling link"
                                     << "broken_link";
    QTest::newRow("a FIFO") << "fifo"
                            << "not_a_file";
    QTest::newRow("a folder") << "folder"
                              << "not_a_file";
    QTest::newRow("another user's link in a shared folder") << "foreign link"
                                                            << "foreign_link";
    QTest::newRow("the file that is read") << "input"
                                           << "same_as_input";
}

void TestTextFile::writesOnlyWhereAllowed()
{
#ifndef Q_OS_UNIX
    QSKIP("links, FIFOs and modes as POSIX has them");
#else
    QFETCH(QString, before);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    QString folder = dir.path();
    if (before == "foreign link") {
        // Sticky and writable by all, like /tmp; the link another user's.
        folder = dir.filePath("shared");
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 01777) == 0);
    }
    const QString path = folder + "/out.txt";
    const QString elsewhere = dir.filePath("elsewhere.txt");
    QVERIFY(putBytes(elsewhere, "theirs"));
    const QByteArray bytes = QFile::encodeName(path);
    if (before.startsWith("file")) {
        QVERIFY(putBytes(path, "old"));
        QVERIFY(::chmod(bytes.constData(), mode_t(before.mid(5).toUInt(nullptr, 8))) == 0);
    } else if (before == "own link" || before == "foreign link") {
        QVERIFY(::symlink(QFile::encodeName(elsewhere).constData(), bytes.constData()) == 0);
        if (before == "foreign link" &&
            (::geteuid() != 0 || ::lchown(bytes.constData(), 65534, 65534) != 0))
            QSKIP("only root can give a link to another user");
    } else if (before == "dangling link") {
        QVERIFY(::symlink(QFile::encodeName(dir.filePath("none/x")).constData(),
                          bytes.constData()) == 0);
    } else if (before == "fifo") {
        QVERIFY(::mkfifo(bytes.constData(), 0600) == 0);
    } else if (before == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (before == "input") {
        QVERIFY(putBytes(path, "the list"));
    }
    const QStringList inputs{before == "input" ? path : elsewhere + "-none"};
    QCOMPARE(
        QString(outputFileProblem(path, inputs).code ? outputFileProblem(path, inputs).code : ""),
        before == "input" ? QString("same_as_input") : problem);
    Reason why;
    const bool written = before == "input" || writeFileAtomically(path, "new", &why);
    if (before == "input")
        return;
    QCOMPARE(written, problem.isEmpty());
    QCOMPARE(QString(why.code ? why.code : ""), problem);
    if (before == "own link") {
        QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(fileBytes(elsewhere), QByteArray("new"));
        return;
    }
    // Nobody else's file is ever touched.
    QCOMPARE(fileBytes(elsewhere), QByteArray("theirs"));
    if (before.startsWith("file")) {
        QCOMPARE(fileBytes(path), problem.isEmpty() ? QByteArray("new") : QByteArray("old"));
        struct stat st;
        QVERIFY(::stat(bytes.constData(), &st) == 0);
        QCOMPARE(int(st.st_mode & 0777), before.mid(5).toInt(nullptr, 8));
    } else if (problem.isEmpty()) {
        QCOMPARE(fileBytes(path), QByteArray("new"));
    }
#endif
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "test_text_file.moc"
