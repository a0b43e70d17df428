#include "CountingRun.h"
#include "MemoryFileSystem.h"
#include "ScriptedChoosers.h"
#include "ScriptedPrompter.h"
#include "fileops/FolderBrowser.h"
#include "fileservices/FileFolder.h"
#include "folderlist/ListRun.h"
#include "run/FolderSteps.h"
#include "run/RunReport.h"
#include "settings/Options.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(DuplicateCheck)

class TestListRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void duplicates_data();
    void duplicates();
    void windowsRules_data();
    void windowsRules();
    void ignoreExistingStartsFreshEachRun();
    void driveRoots_data();
    void driveRoots();
    void hostStyleRules();
    void everyEntryHasAnOutcome_data();
    void everyEntryHasAnOutcome();
};

void TestListRun::duplicates_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("cancelAtYield");
    QTest::addColumn<DuplicateCheck>("outcome");
    QTest::newRow("two identical")
        << QStringList{"C:\\a", "C:\\b", "C:\\a"} << -1 << DuplicateCheck::Duplicate;
    QTest::newRow("case differs") << QStringList{"C:\\a", "C:\\A", "c:\\a"} << -1
                                  << DuplicateCheck::Unique;
    // Not the same text, though the same folder: not found, as with a plain comparison.
    QTest::newRow("with and without a drive")
        << QStringList{"a", "C:\\base\\a"} << -1 << DuplicateCheck::Unique;
    QTest::newRow("cancelled") << QStringList{"C:\\a", "C:\\a"} << 1 << DuplicateCheck::Cancelled;
}

void TestListRun::duplicates()
{
    QFETCH(QStringList, entries);
    QFETCH(int, cancelAtYield);
    QFETCH(DuplicateCheck, outcome);
    CountingRun run;
    run.cancelAtYield = cancelAtYield;
    QCOMPARE(checkDuplicates(entries, run), outcome);

    // A hundred thousand entries stay cancellable, with a yield every few hundred.
    QStringList many;
    for (int i = 0; i < 100000; ++i)
        many << QStringLiteral("C:\\w\\case%1").arg(i);
    CountingRun big;
    QCOMPARE(checkDuplicates(many, big), DuplicateCheck::Unique);
    QVERIFY(big.yields > 100 && big.yields < 1000);
}

void TestListRun::windowsRules_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("target");      // the target field as typed
    QTest::addColumn<QList<int>>("answers");  // to the boxes, in order
    QTest::addColumn<QStringList>("browsed"); // the folder browser's answers
    QTest::addColumn<int>("cancelAtYield");
    QTest::addColumn<QList<int>>("messages");
    QTest::addColumn<QStringList>("made"); // folders created, in order (create mode)
    QTest::addColumn<QStringList>("trashed");
    QTest::addColumn<QString>("refused"); // the insert of message 24 or 25

    using L = QList<int>;
    const QStringList none;
    const int No = Answer::No, Yes = Answer::Yes, Cancel = Answer::Cancel;
    QTest::newRow("no drive: the target, asked once")
        << QStringList{"a", "C:\\x", "b"} << true << "C:\\t" << L{No} << none << -1 << L{26}
        << QStringList{"C:\\t\\a", "C:\\x", "C:\\t\\b"} << none << "";
    QTest::newRow("no drive: a folder from the browser")
        << QStringList{"a"} << true << "C:\\t" << L{Yes} << QStringList{"C:\\picked"} << -1 << L{26}
        << QStringList{"C:\\picked\\a"} << none << "";
    QTest::newRow("no drive: browser cancelled ends the run")
        << QStringList{"C:\\x", "a"} << true << "C:\\t" << L{Yes} << QStringList{""} << -1 << L{26}
        << none << none << "";
    QTest::newRow("no drive: cancel ends the run")
        << QStringList{"a"} << true << "C:\\t" << L{Cancel} << none << -1 << L{26} << none << none
        << "";
    QTest::newRow("no drive, empty target: the program's folder")
        << QStringList{"a"} << true << "" << L{No} << none << -1 << L{26}
        << QStringList{"C:\\prog\\a"} << none << "";
    // "C:" has no backslash as its third character: base folder in front, then the colon
    // after the first three characters refuses it.
    QTest::newRow("bare drive letter")
        << QStringList{"C:", "C:\\ok"} << true << "C:\\t" << L{No} << none << -1 << L{26, 24}
        << QStringList{"C:\\ok"} << none << "C:\\t\\C:\r\n";
    QTest::newRow("refused after the first three")
        << QStringList{"C:\\a:b", "C:\\ok", "C:\\c|d"} << true << "" << L{} << none << -1 << L{24}
        << QStringList{"C:\\ok"} << none << "C:\\a:b\r\nC:\\c|d\r\n";
    // An entry edited or pasted in the list window may hold a NUL: never made as a shorter path.
    QTest::newRow("a NUL in an entry")
        << QStringList{QString("C:\\n") + QChar(0) + "x", "C:\\ok"} << true << "" << L{} << none
        << -1 << L{24} << QStringList{"C:\\ok"} << none << QString("C:\\n") + QChar(0) + "x\r\n";
    QTest::newRow("question mark passes the test")
        << QStringList{"C:\\a?b"} << true << "" << L{} << none << -1 << L{}
        << QStringList{"C:\\a?b"} << none << "";
    QTest::newRow("missing drive, No each time")
        << QStringList{"X:\\a", "X:\\b", "C:\\c"} << true << "" << L{No, No} << none << -1
        << L{23, 23, 12} << none << none << "";
    QTest::newRow("missing drive, Yes once")
        << QStringList{"X:\\a", "X:\\b"} << true << "" << L{Yes} << none << -1 << L{23, 12} << none
        << none << "";
    QTest::newRow("missing drive, Cancel")
        << QStringList{"C:\\c", "X:\\a"} << true << "" << L{Cancel} << none << -1 << L{23} << none
        << none << "";
    QTest::newRow("delete: missing drive listed as missing")
        << QStringList{"X:\\a", "C:\\d1"} << false << "" << L{No} << none << -1 << L{23, 17} << none
        << QStringList{"C:\\d1"} << "";
    QTest::newRow("delete: one trash operation")
        << QStringList{"C:\\d1", "C:\\d2"} << false << "" << L{} << none << -1 << L{} << none
        << QStringList{"C:\\d1", "C:\\d2"} << "";
    QTest::newRow("delete: every entry refused")
        << QStringList{"C:\\a*", "C:\\b>"} << false << "" << L{} << none << -1 << L{25} << none
        << none << "C:\\a*\r\nC:\\b>\r\n";
    QTest::newRow("delete: cancel deletes nothing")
        << QStringList{"C:\\d1", "C:\\d2"} << false << "" << L{} << none << 2 << L{} << none << none
        << "";
    QTest::newRow("create: cancel keeps what was made")
        << QStringList{"C:\\n1", "C:\\n2", "C:\\n3"} << true << "" << L{} << none << 3 << L{}
        << QStringList{"C:\\n1", "C:\\n2"} << none << "";
    QTest::newRow("base folder that does not exist: the folder steps say so")
        << QStringList{"a"} << true << "Q:\\nowhere" << L{No} << none << -1 << L{26, 12} << none
        << none << "";
}

void TestListRun::windowsRules()
{
    QFETCH(QStringList, entries);
    QFETCH(bool, create);
    QFETCH(QString, target);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, browsed);
    QFETCH(int, cancelAtYield);
    QFETCH(QList<int>, messages);
    QFETCH(QStringList, made);
    QFETCH(QStringList, trashed);
    QFETCH(QString, refused);

    MemoryFileSystem fs;
    fs.addFolder("C:\\d1");
    fs.addFolder("C:\\d2");
    Options options;
    ScriptedPrompter prompter;
    prompter.answers = answers;
    ScriptedFolderChooser chooser;
    chooser.answers = browsed;
    FolderSteps steps(fs, prompter, options, PathStyle::Windows);
    FolderBrowser browser(fs);
    browser.setFolderChooser(&chooser);
    CountingRun run;
    run.cancelAtYield = cancelAtYield;

    ListRun(steps, browser, {target, "C:\\prog", "NMaker"}).run(entries, create, run);

    QCOMPARE(prompter.numbers(), messages);
    QCOMPARE(fs.createdFolders, made);
    QCOMPARE(fs.recycledItems, trashed);
    if (messages.contains(26)) {
        QCOMPARE(prompter.shown.front().text.contains(target.isEmpty() ? "NMakerのあるフォルダ"
                                                                       : target),
                 true);
    }
    if (!browsed.isEmpty())
        QVERIFY(browser.realFolderOnly());
    for (const PromptRequest& r : prompter.shown) {
        if (r.number == 24 || r.number == 25)
            QVERIFY2(r.text.contains("[" + refused + "]"), qPrintable(r.text));
        if (r.number == 23)
            QVERIFY(r.text.contains(QStringLiteral("’X:\\’")));
    }
}

void TestListRun::ignoreExistingStartsFreshEachRun()
{
    MemoryFileSystem fs;
    fs.addFolder("C:\\e1");
    fs.addFolder("C:\\e2");
    Options options;
    options.setCheckedIndex(Options::Create, 1); // ask about existing folders
    ScriptedPrompter prompter;
    prompter.answers = {Answer::Ignore};
    FolderSteps steps(fs, prompter, options, PathStyle::Windows);
    FolderBrowser browser(fs);
    CountingRun run;
    ListRun list(steps, browser, {});
    list.run({"C:\\e1", "C:\\e2"}, true, run);
    QCOMPARE(prompter.numbers(), QList<int>{13});
    prompter.clear();
    prompter.answers = {Answer::Retry, Answer::Retry};
    list.run({"C:\\e1", "C:\\e2"}, true, run);
    QCOMPARE(prompter.numbers(), (QList<int>{13, 13}));
}

void TestListRun::driveRoots_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<QString>("root");
    QTest::newRow("windows") << "D:\\job\\a" << PathStyle::Windows << "D:\\";
    QTest::newRow("stick under /media")
        << "/media/ann/STICK/a/b" << PathStyle::Posix << "/media/ann/STICK";
    QTest::newRow("under /run/media")
        << "/run/media/ann/DISK/x" << PathStyle::Posix << "/run/media/ann/DISK";
    QTest::newRow("under /mnt") << "/mnt/usb/x" << PathStyle::Posix << "/mnt/usb";
    QTest::newRow("the slot itself") << "/mnt/usb" << PathStyle::Posix << "/mnt/usb";
    QTest::newRow("an ordinary folder: never asked") << "/home/ann/x" << PathStyle::Posix << "";
    QTest::newRow("/media itself") << "/media/ann" << PathStyle::Posix << "";
}

void TestListRun::driveRoots()
{
    QFETCH(QString, entry);
    QFETCH(PathStyle, style);
    QFETCH(QString, root);
    QCOMPARE(ListRun::driveRootOf(entry, style), root);
}

void TestListRun::hostStyleRules()
{
    // On the host: a relative entry gets the base folder; a backslash is refused from the
    // first character on; a missing volume is asked about and then fails like a missing drive.
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    prompter.answers = {Answer::No, Answer::Yes};
    FileFolder fs(&prompter);
    Options options;
#ifdef Q_OS_WIN
    // The same rules in Windows' form: '/' is read as '\\' (as in the target field), a drive is
    // the missing volume.
    const QString base = QDir::toNativeSeparators(dir.path());
    FolderSteps steps(fs, prompter, options, PathStyle::Windows);
    CountingRun run;
    ListRun(steps, fs, {base, "C:\\prog", "nmaker"})
        .run({"rel\\a", "a/b", base + "\\abs", "Q:\\nmaker-no-volume\\x"}, true, run);
    QVERIFY(QFileInfo(dir.path() + "/rel/a").isDir());
    QVERIFY(QFileInfo(dir.path() + "/abs").isDir());
    QVERIFY(QFileInfo(dir.path() + "/a/b").isDir());
    QCOMPARE(prompter.numbers(), (QList<int>{26, 23, 12}));
    QVERIFY(prompter.shown.at(1).text.contains(QStringLiteral("Q:")));
#else
    FolderSteps steps(fs, prompter, options, PathStyle::Posix);
    CountingRun run;
    ListRun(steps, fs, {dir.path(), "/prog", "nmaker"})
        .run({"rel/a", "a\\b", dir.path() + "/abs", "/mnt/nmaker-no-volume/x"}, true, run);
    // Taken away before anything is checked, so that a wrong run cannot fail later tests.
    const bool strayMade = QFileInfo::exists("/mnt/nmaker-no-volume");
    if (strayMade)
        QDir("/mnt/nmaker-no-volume").removeRecursively();
    QVERIFY(!strayMade);
    QVERIFY(QFileInfo(dir.path() + "/rel/a").isDir());
    QVERIFY(QFileInfo(dir.path() + "/abs").isDir());
    QVERIFY(!QFileInfo(dir.path() + "/a\\b").exists());
    QCOMPARE(prompter.numbers(), (QList<int>{26, 23, 12}));
    QVERIFY(prompter.shown.at(1).text.contains(QStringLiteral("’/mnt/nmaker-no-volume’")));
#endif
}

void TestListRun::everyEntryHasAnOutcome_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<QStringList>("rows"); // "path: outcome reason_code"
    QTest::newRow("a UNC line is rooted, never placed in the base")
        << QStringList{"\\\\server\\share\\unc1", "a"} << QList<int>{Answer::No}
        << QStringList{"C:\\t\\a"}
        << QStringList{"\\\\server\\share\\unc1: failed network_path", "C:\\t\\a: created "};
    QTest::newRow("a long path of its own (\\\\?\\) the same")
        << QStringList{"\\\\?\\C:\\x"} << QList<int>{} << QStringList{}
        << QStringList{"\\\\?\\C:\\x: failed network_path"};
    QTest::newRow("'/' reads as '\\'")
        << QStringList{"C:/w/a"} << QList<int>{} << QStringList{"C:\\w\\a"}
        << QStringList{"C:\\w\\a: created "};
    QTest::newRow("a missing drive ends the run; what it did not reach is told")
        << QStringList{"C:\\m1", "Q:\\x", "C:\\m2"} << QList<int>{Answer::No}
        << QStringList{"C:\\m1"}
        << QStringList{"C:\\m1: created ", "Q:\\x: failed path_not_found",
                       "C:\\m2: failed not_tried"};
}

void TestListRun::everyEntryHasAnOutcome()
{
    QFETCH(QStringList, entries);
    QFETCH(QList<int>, answers);
    MemoryFileSystem fs;
    Options options;
    ScriptedPrompter prompter;
    prompter.answers = answers;
    FolderSteps steps(fs, prompter, options, PathStyle::Windows);
    FolderBrowser browser(fs);
    RunReport report;
    steps.addListener(&report);
    CountingRun run;
    ListRun(steps, browser, {"C:\\t", "C:\\prog", "NMaker"}).run(entries, true, run);
    QTEST(fs.createdFolders, "made");
    QStringList rows;
    for (const ReportRow& row : report.rows())
        rows << row.path + ": " +
                    QString(row.outcome == FolderOutcome::Created ? "created" : "failed") + " " +
                    QLatin1String(row.reasonCode ? row.reasonCode : "");
    QTEST(rows, "rows");
}

QTEST_GUILESS_MAIN(TestListRun)
#include "test_list_run.moc"
