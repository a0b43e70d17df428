#include "TestHelpers.h"
#include "settings/Options.h"
#include "settings/Preferences.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace
{
const QByteArray bom("\xEF\xBB\xBF", 3);
const QString temp = "/tmp/";

QByteArray crlf(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

// Options as five numbers in file order: useSaved, folderName, create, delete, saveFields.
QList<int> optionValues(const Options& o)
{
    return {o.useSavedSettings(), o.checkedIndex(Options::FolderName),
            o.checkedIndex(Options::Create), o.checkedIndex(Options::Delete), o.saveFieldValues()};
}

void setOptions(Options& o, const QList<int>& v)
{
    QVERIFY(o.setUseSavedSettings(v[0]));
    QVERIFY(o.setCheckedIndex(Options::FolderName, v[1]));
    QVERIFY(o.setCheckedIndex(Options::Create, v[2]));
    QVERIFY(o.setCheckedIndex(Options::Delete, v[3]));
    QVERIFY(o.setSaveFieldValues(v[4]));
}

// What a reading sets, in the same order; -1 where a value is absent.
QList<int> readValues(const SettingsRead& r)
{
    auto v = [](const std::optional<int>& x) { return x ? *x : -1; };
    return {v(r.useSavedSettings), v(r.checkedIndex[0]), v(r.checkedIndex[1]), v(r.checkedIndex[2]),
            v(r.saveFieldValues)};
}

QStringList fieldList(const SeriesFieldTexts& f)
{
    return {f.folder, f.noStart, f.noEnd, f.noKeta, f.prefix, f.suffix};
}

const QStringList fullFile{" 1 ", " 1 ", " 1 ", " 1 ", " 1 ", "D:\\work\\",
                           "5",   "20",  "4",   "pre", "suf"};
} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data();
    void read();
    void missingFileIsNotOpened();
    void applyKeepsWhatWasNotRead();
    void write_data();
    void write();
    void roundTrip_data();
    void roundTrip();
    void unwritablePlaceFails();
    void fullDiskKeepsOldFile_data();
    void fullDiskKeepsOldFile();
    void filePlace();
    void preferencesRead_data();
    void preferencesRead();
    void preferencesKeepWhatTheyDoNotKnow_data();
    void preferencesKeepWhatTheyDoNotKnow();
    void preferencesLanguage_data();
    void preferencesLanguage();
    void templateRead_data();
    void templateRead();
    void templateWritten_data();
    void templateWritten();
    void bothChoicesKeptByOneInstance();
    void templateWithALineBreakIsNotWritten();
};

void TestSettingsFile::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QStringList>("fields");

    const int reset = SettingsRead::Reset;
    const int defaults = SettingsRead::DefaultFields;
    const int fields = SettingsRead::Fields;
    const QList<int> none{-1, -1, -1, -1, -1};
    const QStringList noFields{"", "", "", "", "", ""};

    QTest::newRow("full file") << crlf(fullFile) << fields << QList<int>{1, 1, 1, 1, 1}
                               << fullFile.mid(5);
    // Cut after each line: what was read stays, the fields get their defaults.
    const QList<QList<int>> afterCut{{1, -1, -1, -1, -1},
                                     {1, 1, -1, -1, -1},
                                     {1, 1, 1, -1, -1},
                                     {1, 1, 1, 1, -1},
                                     {1, 1, 1, 1, 1}};
    for (int n = 1; n <= 10; ++n) {
        QTest::addRow("cut after line %d", n)
            << crlf(fullFile.mid(0, n)) << defaults << afterCut[qMin(n, 5) - 1] << noFields;
    }
    QTest::newRow("cut in line 11, no line end")
        << crlf(fullFile.mid(0, 10)) + "s" << fields << QList<int>{1, 1, 1, 1, 1}
        << QStringList{"D:\\work\\", "5", "20", "4", "pre", "s"};
    QTest::newRow("empty file") << QByteArray() << defaults << none << noFields;
    QTest::newRow("garbage") << QByteArray("\x01\xFF\xFEgarbage\r\n\x80") << defaults << none
                             << noFields;
    QTest::newRow("first line 0") << crlf({" 0 ", " 1 ", " 1 ", " 1 ", " 1 "}) << reset << none
                                  << noFields;
    QTest::newRow("first line 2") << crlf({" 2 ", " 1 "}) << reset << none << noFields;
    QTest::newRow("line 2 of 5") << crlf({" 1 ", " 5 ", " 1 ", " 1 ", " 1 "}) << defaults
                                 << QList<int>{1, -1, -1, -1, -1} << noFields;
    // One past the last button of a group, written plainly or rounded up to it.
    QTest::newRow("line 2 of 2") << crlf({" 1 ", " 2 ", " 1 ", " 1 ", " 1 "}) << defaults
                                 << QList<int>{1, -1, -1, -1, -1} << noFields;
    QTest::newRow("line 4 of 1.5") << crlf({" 1 ", " 1 ", " 0 ", " 1.5 ", " 1 "}) << defaults
                                   << QList<int>{1, 1, 0, -1, -1} << noFields;
    QTest::newRow("line 3 not a number") << crlf({" 1 ", " 1 ", "one", " 1 ", " 1 "}) << defaults
                                         << QList<int>{1, 1, -1, -1, -1} << noFields;
    QTest::newRow("line 5 of 0, fields ignored")
        << crlf(QStringList{" 1 ", " 1 ", " 0 ", " 1 ", " 0 "} + fullFile.mid(5)) << defaults
        << QList<int>{1, 1, 0, 1, 0} << noFields;
    QTest::newRow("line 5 of 2") << crlf(QStringList{" 1 ", " 0 ", " 0 ", " 0 ", " 2 "} +
                                         fullFile.mid(5))
                                 << defaults << QList<int>{1, 0, 0, 0, -1} << noFields;
    QTest::newRow("numbers without blanks")
        << crlf(QStringList{"1", "0", "1", "0", "1"} + fullFile.mid(5)) << fields
        << QList<int>{1, 0, 1, 0, 1} << fullFile.mid(5);
    QTest::newRow("numbers with tabs and many blanks")
        << crlf(QStringList{"\t 1  ", "  1", "0 \t", "1", " 1\t"} + fullFile.mid(5)) << fields
        << QList<int>{1, 1, 0, 1, 1} << fullFile.mid(5);
    QTest::newRow("fields kept whole, blanks and refused characters included")
        << crlf(QStringList{" 1 ", " 0 ", " 0 ", " 0 ", " 1 ", "  C:\\a b\\ ", " x ", "", "abc",
                            "a/b", "<>"})
        << fields << QList<int>{1, 0, 0, 0, 1}
        << QStringList{"  C:\\a b\\ ", " x ", "", "abc", "a/b", "<>"};
    QTest::newRow("lone lf ends a line too")
        << QByteArray(" 1 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\nC:\\\r\n1\r\n10\r\n3\r\na\nb\r\nc\r\n")
        << fields << QList<int>{1, 0, 0, 0, 1} << QStringList{"C:\\", "1", "10", "3", "a", "b"};
    QTest::newRow("lines after line 11 ignored")
        << crlf(fullFile + QStringList{"junk", "more"}) << fields << QList<int>{1, 1, 1, 1, 1}
        << fullFile.mid(5);
    // As a Linux editor saves it.
    QTest::newRow("lf-only file") << (fullFile.join('\n') + '\n').toUtf8() << fields
                                  << QList<int>{1, 1, 1, 1, 1} << fullFile.mid(5);
    QTest::newRow("lf-only options")
        << QByteArray("1\n0\n0\n0\n1\n") << defaults << QList<int>{1, 0, 0, 0, 1} << noFields;
    const QStringList japanese{" 1 ", " 0 ", " 0 ", " 0 ",  " 1 ",  "C:\\作業\\",
                               "1",   "10",  "3",   "連番", "ﾌｫﾙﾀﾞ"};
    QTest::newRow("utf-8 by hand")
        << crlf(japanese) << fields << QList<int>{1, 0, 0, 0, 1} << japanese.mid(5);
    const QString longText(30000, QChar(u'x'));
    QTest::newRow("very long field kept whole")
        << crlf(QStringList{" 1 ", " 0 ", " 0 ", " 0 ", " 1 ", longText, "1", "10", "3", longText,
                            ""})
        << fields << QList<int>{1, 0, 0, 0, 1}
        << QStringList{longText, "1", "10", "3", longText, ""};
    // Eleven short lines are never this large: nothing in it is taken, the fields get defaults.
    const QString huge(300000, QChar(u'x'));
    QTest::newRow("larger than the bound")
        << crlf(QStringList{" 1 ", " 0 ", " 0 ", " 0 ", " 1 ", huge, "1", "10", "3", "", ""})
        << defaults << none << noFields;
    QTest::newRow("a flood of cr") << QByteArray(1 << 20, '\r') << defaults << none << noFields;
}

void TestSettingsFile::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, outcome);
    QFETCH(QList<int>, values);
    QFETCH(QStringList, fields);

    QTemporaryDir dir;
    const QString path = dir.filePath("SetNMaker.cf");
    QVERIFY(putBytes(path, bytes));
    const SettingsRead r = readSettingsFile(path);
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(readValues(r), values);
    QCOMPARE(fieldList(r.fields), fields);
    QCOMPARE(fileBytes(path), bytes); // reading never touches the file
}

void TestSettingsFile::missingFileIsNotOpened()
{
    QTemporaryDir dir;
    const SettingsRead r = readSettingsFile(dir.filePath("SetNMaker.cf"));
    QCOMPARE(r.outcome, SettingsRead::NotOpened);
    QCOMPARE(readValues(r), QList<int>({-1, -1, -1, -1, -1}));
    QVERIFY(!QFileInfo::exists(dir.filePath("SetNMaker.cf")));
    QCOMPARE(readSettingsFile(dir.path()).outcome, SettingsRead::NotOpened);
}

void TestSettingsFile::applyKeepsWhatWasNotRead()
{
    Options options;
    setOptions(options, {0, 1, 1, 1, 0});
    // A file that ends after line 3.
    applySettingsRead(parseSettingsLines({" 1 ", " 0 ", " 0 "}), options);
    QCOMPARE(optionValues(options), QList<int>({1, 0, 0, 1, 0}));

    setOptions(options, {1, 1, 1, 1, 0});
    applySettingsRead(parseSettingsLines({" 1 ", " 5 ", " 0 ", " 0 ", " 1 "}), options);
    QCOMPARE(optionValues(options), QList<int>({1, 1, 1, 1, 0}));
}

void TestSettingsFile::write_data()
{
    QTest::addColumn<QList<int>>("options");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QByteArray>("bytes");

    const QStringList defaultFields = fieldList(defaultFieldTexts(temp));
    QTest::newRow("fresh defaults")
        << QList<int>{1, 0, 0, 0, 1} << defaultFields
        << QByteArray(" 1 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\n/tmp/\r\n1\r\n10\r\n3\r\n\r\n\r\n");
    QTest::newRow("saved settings off: five lines")
        << QList<int>{0, 1, 1, 0, 1} << QStringList{"D:\\", "2", "3", "4", "p", "s"}
        << QByteArray(" 0 \r\n 1 \r\n 1 \r\n 0 \r\n 1 \r\n");
    QTest::newRow("field values off: defaults written")
        << QList<int>{1, 1, 0, 1, 0} << QStringList{"D:\\", "2", "3", "4", "p", "s"}
        << QByteArray(" 1 \r\n 1 \r\n 0 \r\n 1 \r\n 0 \r\n/tmp/\r\n 1 \r\n 10 \r\n 3 \r\n\r\n\r\n");
    QTest::newRow("field texts written as they stand")
        << QList<int>{1, 1, 1, 1, 1} << QStringList{" D:\\a b\\", " 7", "99999", "5", " p ", ""}
        << QByteArray(" 1 \r\n 1 \r\n 1 \r\n 1 \r\n 1 \r\n D:\\a b\\\r\n 7\r\n99999\r\n5\r\n p "
                      "\r\n\r\n");
    QTest::newRow("multi-line texts: first line only")
        << QList<int>{1, 0, 0, 0, 1}
        << QStringList{"C:\\a\r\nC:\\b", "1", "10", "3", "p\r\nq", "s\r\n"}
        << QByteArray(" 1 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\nC:\\a\r\n1\r\n10\r\n3\r\np\r\ns\r\n");
    // A lone CR would end the line when read back and shift every later line.
    QTest::newRow("lone cr ends the value")
        << QList<int>{1, 0, 0, 0, 1} << QStringList{"C:\\a\rb", "1\r", "10", "3", "p\rq", "s"}
        << QByteArray(" 1 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\nC:\\a\r\n1\r\n10\r\n3\r\np\r\ns\r\n");
    QTest::newRow("emoji: utf-8 with bom")
        << QList<int>{1, 0, 0, 0, 1} << QStringList{"/tmp/", "1", "10", "3", "😀", ""}
        << bom + QByteArray(" 1 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\n/tmp/\r\n1\r\n10\r\n3\r\n") +
               QStringLiteral("😀").toUtf8() + "\r\n\r\n";
}

void TestSettingsFile::write()
{
    QFETCH(QList<int>, options);
    QFETCH(QStringList, fields);
    QFETCH(QByteArray, bytes);

    Options o;
    setOptions(o, options);
    const SeriesFieldTexts f{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
    QTemporaryDir dir;
    const QString path = dir.filePath("SetNMaker.cf");
    QVERIFY(putBytes(path, QByteArray(5000, 'z'))); // a longer old file is replaced whole
    QVERIFY(writeSettingsFile(path, o, f, temp));
    QCOMPARE(fileBytes(path), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"SetNMaker.cf"});
}

void TestSettingsFile::roundTrip_data()
{
    QTest::addColumn<QList<int>>("options");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("all ones") << QList<int>{1, 1, 1, 1, 1}
                              << QStringList{"C:\\x\\", "0", "99999", "5", "a", "b"};
    QTest::newRow("japanese and emoji")
        << QList<int>{1, 0, 1, 0, 1} << QStringList{"/home/作業/", "1", "10", "3", "𠮷", "😀"};
    QTest::newRow("very long prefix")
        << QList<int>{1, 1, 0, 0, 1}
        << QStringList{"/tmp/", "1", "10", "3", QString(20000, QChar(u'連')), "s"};
}

void TestSettingsFile::roundTrip()
{
    QFETCH(QList<int>, options);
    QFETCH(QStringList, fields);

    Options o;
    setOptions(o, options);
    const SeriesFieldTexts f{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
    QTemporaryDir dir;
    const QString path = dir.filePath("SetNMaker.cf");
    QVERIFY(writeSettingsFile(path, o, f, temp));
    const SettingsRead r = readSettingsFile(path);
    QCOMPARE(r.outcome, SettingsRead::Fields);
    QCOMPARE(readValues(r), options);
    QCOMPARE(fieldList(r.fields), fields);
}

void TestSettingsFile::unwritablePlaceFails()
{
    Options o;
    QTemporaryDir dir;
    const QString blocker = dir.filePath("notAFolder");
    QVERIFY(putBytes(blocker, "old"));
    // Nobody, not even root, can create a file below a plain file.
    QVERIFY(!writeSettingsFile(blocker + "/SetNMaker.cf", o, defaultFieldTexts(temp), temp));
    QCOMPARE(fileBytes(blocker), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"notAFolder"});
#ifdef Q_OS_UNIX
    // A read-only settings file is the user's fixed set of values: never replaced, by root
    // neither.
    const QString fixed = dir.filePath("SetNMaker.cf");
    QVERIFY(putBytes(fixed, "1\r\n"));
    QVERIFY(QFile::setPermissions(fixed, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                             QFileDevice::ReadOther));
    QVERIFY(!writeSettingsFile(fixed, o, defaultFieldTexts(temp), temp));
    QCOMPARE(fileBytes(fixed), QByteArray("1\r\n"));
    QCOMPARE(QFileInfo(fixed).permissions() & QFileDevice::WriteOwner, QFileDevice::Permissions());
#endif
}

void TestSettingsFile::fullDiskKeepsOldFile_data()
{
    QTest::addColumn<int>("prefixLength");
    QTest::addColumn<int>("room");
    // A short file fits a write buffer: the write "succeeds" and only the flush fails.
    QTest::newRow("short file, no room at all") << 0 << 0;
    QTest::newRow("long file, room for a part") << 30000 << 4096;
}

void TestSettingsFile::fullDiskKeepsOldFile()
{
#ifdef Q_OS_UNIX
    QFETCH(int, prefixLength);
    QFETCH(int, room);
    QTemporaryDir dir;
    const QString path = dir.filePath("SetNMaker.cf");
    const QByteArray old = crlf(fullFile);
    QVERIFY(putBytes(path, old));

    Options o;
    const SeriesFieldTexts f{"/tmp/", "1", "10", "3", QString(prefixLength, QChar(u'x')), ""};
    // A file size limit stands in for a full disk: writes beyond it fail with EFBIG.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = rlim_t(room);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeSettingsFile(path, o, f, temp);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!written);
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"SetNMaker.cf"});
#else
    QSKIP("needs a file size limit");
#endif
}

void TestSettingsFile::filePlace()
{
    QTemporaryDir dir;
    const QString program = dir.filePath("program");
    const QString config = dir.filePath("config/NMaker");
    QVERIFY(QDir(dir.path()).mkdir("program"));
    QCOMPARE(settingsFilePathIn(program, config), program + "/SetNMaker.cf");
    QVERIFY(!QFileInfo::exists(config));

    const QString blocker = dir.filePath("file");
    QVERIFY(putBytes(blocker, "x"));
    QCOMPARE(settingsFilePathIn(blocker, config), config + "/SetNMaker.cf");
    QVERIFY(QFileInfo(config).isDir());
    QCOMPARE(settingsFilePathIn(dir.filePath("missing"), config), config + "/SetNMaker.cf");
    // A folder that passes the permission check, even for root, but takes no files.
    if (QFileInfo(QStringLiteral("/proc")).isDir())
        QCOMPARE(settingsFilePathIn("/proc", config), config + "/SetNMaker.cf");
    QCOMPARE(QDir(program).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());

    // Installed for every user (Program Files): writable for an administrator, yet each user's
    // settings are their own; a folder that merely starts with the same letters is not inside.
    const QString shared = QDir::toNativeSeparators(dir.path()).toUpper();
    QCOMPARE(settingsFilePathIn(program, config, {shared}), config + "/SetNMaker.cf");
    QCOMPARE(settingsFilePathIn(program, config, {dir.filePath("prog")}),
             program + "/SetNMaker.cf");
    QCOMPARE(settingsFilePathIn(program, config, {QString(), dir.filePath("other")}),
             program + "/SetNMaker.cf");
}

void TestSettingsFile::preferencesRead_data()
{
    QTest::addColumn<QByteArray>("bytes"); // "<none>": no file
    QTest::addColumn<bool>("extended");

    QTest::newRow("no file") << QByteArray("<none>") << false;
    QTest::newRow("on") << QByteArray("[list]\nextendedSyntax=true\n") << true;
    QTest::newRow("off") << QByteArray("[list]\nextendedSyntax=false\n") << false;
    QTest::newRow("another value") << QByteArray("[list]\nextendedSyntax=1\n") << false;
    QTest::newRow("another key") << QByteArray("[list]\nextended=true\n") << false;
    QTest::newRow("not a settings text") << QByteArray("\x00\xFF[list\n=\n", 10) << false;
}

void TestSettingsFile::preferencesRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, extended);
    QTemporaryDir dir;
    const QString path = preferencesFilePathIn(dir.path());
    if (bytes != "<none>")
        QVERIFY(putBytes(path, bytes));
    QCOMPARE(Preferences(path).extendedListSyntax(), extended);
    QCOMPARE(Preferences().extendedListSyntax(), false); // none: for this run only
}

void TestSettingsFile::preferencesKeepWhatTheyDoNotKnow_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after"); // once 拡張書式で展開 is switched on
    QTest::newRow("no file") << QByteArray("<none>") << QByteArray("[list]\nextendedSyntax=true\n");
    QTest::newRow("off: the one line changes") << QByteArray("[list]\r\nextendedSyntax=false\r\n")
                                               << QByteArray("[list]\r\nextendedSyntax=true\r\n");
    QTest::newRow("lines of another version stay")
        << QByteArray("; mine\n[window]\nsize=3\n[list]\nother=1\n\n[x]\ny=2\n")
        << QByteArray(
               "; mine\n[window]\nsize=3\n[list]\nother=1\nextendedSyntax=true\n\n[x]\ny=2\n");
    QTest::newRow("bytes that are no text stay")
        << QByteArray("\x00\xFF[list\n=\n", 10)
        << QByteArray("\x00\xFF[list\n=\n[list]\nextendedSyntax=true\n", 37);
}

void TestSettingsFile::preferencesKeepWhatTheyDoNotKnow()
{
    QFETCH(QByteArray, before);
    QTemporaryDir dir;
    const QString path = preferencesFilePathIn(dir.path());
    if (before != "<none>")
        QVERIFY(putBytes(path, before));
    Preferences preferences(path);
    QVERIFY(preferences.setExtendedListSyntax(true));
    QTEST(fileBytes(path), "after");
    QVERIFY(Preferences(path).extendedListSyntax());
}

// The display language: read as written, anything else no choice; written into its own
// section beside the others.
void TestSettingsFile::preferencesLanguage_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("read");     // "" no choice
    QTest::addColumn<QByteArray>("after"); // once English is chosen
    QTest::newRow("no file") << QByteArray("<none>") << ""
                             << QByteArray("[display]\nlanguage=en\n");
    QTest::newRow("Japanese, among other sections")
        << QByteArray("[list]\nextendedSyntax=true\n[display]\nlanguage=ja\n") << "ja"
        << QByteArray("[list]\nextendedSyntax=true\n[display]\nlanguage=en\n");
    QTest::newRow("any case, blanks around") << QByteArray("[display]\nlanguage = EN \n") << "en"
                                             << QByteArray("[display]\nlanguage=en\n");
    QTest::newRow("a language it does not speak")
        << QByteArray("[display]\nlanguage=fr\n") << "" << QByteArray("[display]\nlanguage=en\n");
    QTest::newRow("the key in another section")
        << QByteArray("[list]\nlanguage=en\n") << ""
        << QByteArray("[list]\nlanguage=en\n[display]\nlanguage=en\n");
}

void TestSettingsFile::preferencesLanguage()
{
    QFETCH(QByteArray, before);
    QTemporaryDir dir;
    const QString path = preferencesFilePathIn(dir.path());
    if (before != "<none>")
        QVERIFY(putBytes(path, before));
    Preferences preferences(path);
    const auto read = preferences.language();
    QTEST(read ? languageCode(*read) : QString(), "read");
    QVERIFY(preferences.setLanguage(Language::English));
    QTEST(fileBytes(path), "after");
    QCOMPARE(Preferences(path).language(), std::optional(Language::English));
}

namespace
{

// A folder the host takes as absolute: "/srv/テンプレート" or "C:\\srv\\テンプレート".
QString absoluteFolder(const QString& below)
{
    return QDir::toNativeSeparators(QDir::rootPath() + below);
}

} // namespace

void TestSettingsFile::templateRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("foldersOnly");

    const QString folder = absoluteFolder("srv/テンプレート");
    const QByteArray line = "folder=" + folder.toUtf8() + "\n";
    QTest::newRow("none") << QByteArray("[list]\nextendedSyntax=true\n") << QString() << false;
    QTest::newRow("a folder") << "[template]\n" + line << folder << false;
    QTest::newRow("folders only, CRLF")
        << "[template]\r\n" + line.chopped(1) + "\r\nfoldersOnly=true\r\n"
        << folder << true;
    QTest::newRow("spaces after '=' go, at the end stay")
        << "[template]\nfolder =  " + folder.toUtf8() + " \n"
        << folder + " " << false;
    // Where the program was started would say which folder it is: none.
    QTest::newRow("relative") << QByteArray("[template]\nfolder=tpl\nfoldersOnly=true\n")
                              << QString() << true;
    QTest::newRow("in another section") << "[list]\n" + line << QString() << false;
    // Not looked at: the run refuses it with its own message.
    QTest::newRow("a folder that is not there")
        << "[template]\nfolder=" + absoluteFolder("no/such/folder").toUtf8() + "\n"
        << absoluteFolder("no/such/folder") << false;
}

void TestSettingsFile::templateRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, folder);
    QFETCH(bool, foldersOnly);
    QTemporaryDir dir;
    const QString path = preferencesFilePathIn(dir.path());
    QVERIFY(putBytes(path, bytes));
    const Preferences preferences(path);
    QCOMPARE(preferences.folderTemplate().folder, folder);
    QCOMPARE(preferences.folderTemplate().foldersOnly, foldersOnly);
}

void TestSettingsFile::templateWritten_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("foldersOnly");
    QTest::addColumn<QByteArray>("after");

    const QString folder = absoluteFolder("srv/テンプレート");
    const QByteArray f = folder.toUtf8();
    QTest::newRow("no file") << QByteArray("<none>") << folder << false
                             << "[template]\nfolder=" + f + "\nfoldersOnly=false\n";
    QTest::newRow("beside the list's section, in its line ends")
        << QByteArray("[list]\r\nextendedSyntax=true\r\n") << folder << true
        << "[list]\r\nextendedSyntax=true\r\n[template]\r\nfolder=" + f +
               "\r\nfoldersOnly=true\r\n";
    QTest::newRow("its lines replaced, the others kept")
        << QByteArray("; mine\n[template]\nfoldersOnly=true\nkeep=1\nfolder=/old\n\n[x]\ny=2\n")
        << folder << false
        << "; mine\n[template]\nfoldersOnly=false\nkeep=1\nfolder=" + f + "\n\n[x]\ny=2\n";
    QTest::newRow("none: the folder empty, folders only kept")
        << QByteArray("[template]\nfolder=/old\nfoldersOnly=true\n") << QString() << true
        << QByteArray("[template]\nfolder=\nfoldersOnly=true\n");
}

void TestSettingsFile::templateWritten()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, folder);
    QFETCH(bool, foldersOnly);
    QTemporaryDir dir;
    const QString path = preferencesFilePathIn(dir.path());
    if (before != "<none>")
        QVERIFY(putBytes(path, before));
    Preferences preferences(path);
    QVERIFY(preferences.setFolderTemplate({folder, foldersOnly}));
    QTEST(fileBytes(path), "after");
    QCOMPARE(Preferences(path).folderTemplate(), (FolderTemplate{folder, foldersOnly}));
}

// The list window's choice and the template in one file: each write keeps the other's line.
void TestSettingsFile::bothChoicesKeptByOneInstance()
{
    QTemporaryDir dir;
    const QString path = preferencesFilePathIn(dir.path());
    const FolderTemplate chosen{absoluteFolder("srv/tpl"), true};
    Preferences preferences(path);
    QVERIFY(preferences.setExtendedListSyntax(true));
    QVERIFY(preferences.setFolderTemplate(chosen));
    QVERIFY(preferences.setExtendedListSyntax(false));
    QVERIFY(preferences.setExtendedListSyntax(true));
    const Preferences again(path);
    QVERIFY(again.extendedListSyntax());
    QCOMPARE(again.folderTemplate(), chosen);
}

void TestSettingsFile::templateWithALineBreakIsNotWritten()
{
    QTemporaryDir dir;
    const QString path = preferencesFilePathIn(dir.path());
    QVERIFY(putBytes(path, "[list]\nextendedSyntax=true\n"));
    Preferences preferences(path);
    const FolderTemplate odd{absoluteFolder("srv/a\nb"), false};
    QVERIFY(!preferences.setFolderTemplate(odd));
    QCOMPARE(preferences.folderTemplate(), odd); // for this run
    QCOMPARE(fileBytes(path), QByteArray("[list]\nextendedSyntax=true\n"));
    Preferences forThisRun;
    QVERIFY(forThisRun.setFolderTemplate(odd));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
