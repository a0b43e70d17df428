// The run journal as a log on the real disk: what a run leaves there as it goes, what a crash,
// a full disk, a damaged line or a second process does to it, and what the undo then takes
// back. HOME and XDG_* point into a temporary folder: the user's journal is never touched.
#include "ScriptedPrompter.h"
#include "TestHelpers.h"
#include "fileservices/FileFolder.h"
#include "run/FolderSteps.h"
#include "run/RunContext.h"
#include "run/RunJournal.h"
#include "run/UndoTexts.h"
#include "series/SeriesEngine.h"
#include "settings/Options.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace
{

MadeFolder made(const QString& path, quint64 node)
{
    return MadeFolder{path, FolderId{7, node, 1000 + qint64(node)}, {}, -1, {}};
}

TrashPlace place(const QByteArray& name)
{
    TrashPlace p;
    p.trashDir = "/t/Trash";
    p.entry = name;
    p.info = name + ".trashinfo";
    p.infoStamp = {7, 11, 64, 123456789};
    p.entryId = {7, 12, 99};
    p.original = "/w/" + name;
    return p;
}

// A create run of these folders and a delete run of these items, both finished.
void writeRuns(RunJournal& journal, const QStringList& paths, const QList<QByteArray>& items)
{
    QVERIFY(journal.beginRun(RunKind::Create));
    quint64 node = 1;
    for (const QString& path : paths)
        journal.recordMade(made(path, node++));
    journal.endRun();
    QVERIFY(journal.beginRun(RunKind::Delete));
    for (const QByteArray& item : items)
        journal.recordTrashed(place(item), QString::fromUtf8("/w/" + item));
    journal.endRun();
}

QStringList sortedEntries(const QString& dir)
{
    QStringList names = QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

// Counts the folder steps and, at a chosen one, lets the test act (end the process, say).
struct SteppedRun : RunContext {
    int steps = 0;
    int at = -1;
    std::function<void()> action;
    void yieldOnce() override
    {
        if (++steps == at && action)
            action();
    }
    bool isCancelRequested() override { return false; }
};

} // namespace

class TestJournal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void earlierLinesStayAsTheyWere();
    void damagedLineCostsItself_data();
    void damagedLineCostsItself();
    void notOurs_data();
    void notOurs();
    void twoWritersLoseNoRecord();
    void compactionKeepsTheLastTwoRuns();
    void earlierVersionIsTakenOver();
#ifdef Q_OS_UNIX
    void killedRunIsTakenBackAsFarAsRecorded();
    void fullDisk_data();
    void fullDisk();
    void runningRunIsLeftAlone();
#endif

private:
    QString at(const QString& relative) const
    {
        return m_dir->path() + '/' + relative;
    }
    QString journalPath() const
    {
        return at("state/NMaker/journal");
    }
    std::unique_ptr<FolderSteps> newSteps();
    void createSeries(FolderSteps& steps, int count, RunContext& context);

    std::unique_ptr<QTemporaryDir> m_dir;
    Options m_options;
    ScriptedPrompter m_prompter;
    std::unique_ptr<FileFolder> m_ff;
};

void TestJournal::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(at("home")));
    QVERIFY(QDir().mkpath(at("w")));
    qputenv("HOME", QFile::encodeName(at("home")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(at("data")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(at("state")));
    qputenv("LOCALAPPDATA", QFile::encodeName(at("state")));
    QVERIFY(QDir().mkpath(at("state/NMaker")));
    m_prompter.clear();
    m_ff = std::make_unique<FileFolder>(&m_prompter);
}

void TestJournal::cleanup()
{
    m_ff.reset();
}

std::unique_ptr<FolderSteps> TestJournal::newSteps()
{
    auto steps = std::make_unique<FolderSteps>(*m_ff, m_prompter, m_options, hostPathStyle());
    steps->journal().setPath(journalPath());
    return steps;
}

void TestJournal::createSeries(FolderSteps& steps, int count, RunContext& context)
{
    SeriesEngine(steps).createSeries(
        {QDir::toNativeSeparators(at("w")) + QDir::separator(), "n", "", 1, count, 3, true},
        context);
}

void TestJournal::earlierLinesStayAsTheyWere()
{
    RunJournal journal(journalPath());
    QVERIFY(journal.beginRun(RunKind::Create));
    journal.recordMade(made("/w/a", 1));
    journal.endRun();
    const QByteArray first = fileBytes(journalPath());
    QVERIFY(journal.beginRun(RunKind::Delete));
    journal.recordTrashed(place("b"), "/w/b");
    journal.endRun();
    const QByteArray second = fileBytes(journalPath());
    // Only the head (the numbering) is written in place; the rest grows at its end.
    const qsizetype head = first.indexOf('\n') + 1;
    QCOMPARE(second.mid(head, first.size() - head), first.mid(head));

    RunJournal again(journalPath());
    QCOMPARE(again.state(), RunJournal::State::Read);
    QCOMPARE(again.creation().paths(), QStringList{"/w/a"});
    QCOMPARE(again.creation().folders().front().id.node, quint64(1));
    QCOMPARE(again.deletion().size(), 1);
    const TrashPlace& p = again.deletion().front();
    const TrashPlace want = place("b");
    QCOMPARE(p.trashDir, want.trashDir);
    QCOMPARE(p.entry, want.entry);
    QCOMPARE(p.info, want.info);
    QVERIFY(p.infoStamp == want.infoStamp);
    QVERIFY(p.entryId.sameAs(want.entryId) && p.entryId.birth == want.entryId.birth);
    QCOMPARE(p.original, want.original);
    QVERIFY(again.deletionNumber() > again.creationNumber());
    QVERIFY(again.creationRun().finished && again.deletionRun().finished);
}

void TestJournal::damagedLineCostsItself_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("made"); // on record afterwards
    QTest::addColumn<int>("trashed");      // items on record afterwards
    QTest::addColumn<bool>("finished");    // the deletion's end still on record
    QTest::newRow("the last line cut short")
        << "cut" << QStringList{"/w/a", "/w/b", "/w/c"} << 2 << false;
    QTest::newRow("a byte of one folder's line changed")
        << "edit" << QStringList{"/w/a", "/w/c"} << 2 << true;
    QTest::newRow("zeros and garbage after a crash")
        << "garbage" << QStringList{"/w/a", "/w/b", "/w/c"} << 2 << true;
    QTest::newRow("the line of a trash changed: its items are beyond reach")
        << "trash" << QStringList{"/w/a", "/w/b", "/w/c"} << 0 << true;
}

void TestJournal::damagedLineCostsItself()
{
    QFETCH(QString, change);
    {
        RunJournal journal(journalPath());
        writeRuns(journal, {"/w/a", "/w/b", "/w/c"}, {"x", "y"});
    }
    QByteArray bytes = fileBytes(journalPath());
    if (change == "cut")
        bytes.chop(4);
    else if (change == "edit")
        bytes.replace(" /w/b ", " /w/B ");
    else if (change == "garbage")
        bytes += QByteArray(4096, '\0') + "c 1 2 3 4 /w/evil 00000000\n\xff\xfe\n";
    else if (change == "trash")
        bytes.replace(" /t/Trash ", " /t/Trask ");
    QVERIFY(putBytes(journalPath(), bytes));

    RunJournal journal(journalPath());
    QCOMPARE(journal.state(), RunJournal::State::Read);
    QTEST(journal.creation().paths(), "made");
    QTEST(int(journal.deletion().size()), "trashed");
    QTEST(journal.deletionRun().finished, "finished");
    // The deletion stays the newest run, taken back or not: no older run stands for it.
    auto steps = newSteps();
    QCOMPARE(steps->nextUndo(),
             change == "trash" ? FolderSteps::UndoTarget::None : FolderSteps::UndoTarget::Deletion);
}

void TestJournal::notOurs_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("problem");
    QTest::newRow("another program's file") << "foreign"
                                            << "NMaker の実行の記録ではありません";
    QTest::newRow("its head damaged") << "head"
                                      << "壊れています (途中で切れているか、書き換えられています)";
    QTest::newRow("a link to a journal") << "link"
                                         << "NMaker の実行の記録ではありません";
    QTest::newRow("larger than the bound") << "huge"
                                           << "大きすぎます (上限は 256 MB です)";
}

void TestJournal::notOurs()
{
    QFETCH(QString, kind);
    {
        RunJournal journal(journalPath());
        writeRuns(journal, {"/w/a"}, {"x"});
    }
    const QByteArray good = fileBytes(journalPath());
    QFile::remove(journalPath());
    if (kind == "foreign") {
        QVERIFY(putBytes(journalPath(), "[Trash Info]\nPath=/etc\n"));
    } else if (kind == "head") {
        QByteArray bytes = good;
        bytes[30] = bytes[30] == '1' ? '2' : '1';
        QVERIFY(putBytes(journalPath(), bytes));
    } else if (kind == "link") {
        QVERIFY(putBytes(at("elsewhere"), good));
        if (!QFile::link(at("elsewhere"), journalPath()))
            QSKIP("no links here");
    } else if (kind == "huge") {
        QVERIFY(putBytes(journalPath(), good));
        QFile f(journalPath());
        QVERIFY(f.resize(RunJournal::MaxBytes + 1)); // sparse: nothing is written
    }
    RunJournal journal(journalPath());
    QCOMPARE(journal.state(), RunJournal::State::Bad);
    QFETCH(QString, problem);
    QCOMPARE(journal.problem(), problem);
    QVERIFY(journal.creation().isEmpty() && journal.deletion().isEmpty());
    QCOMPARE(newSteps()->nextUndo(), FolderSteps::UndoTarget::None);
    // The next run writes a journal of its own in its place, never through the link.
    QVERIFY(journal.beginRun(RunKind::Create));
    journal.recordMade(made("/w/new", 5));
    journal.endRun();
    QCOMPARE(RunJournal(journalPath()).creation().paths(), QStringList{"/w/new"});
    if (kind == "link") {
        QCOMPARE(fileBytes(at("elsewhere")), good);
        QVERIFY(!QFileInfo(journalPath()).isSymLink());
    }
}

void TestJournal::twoWritersLoseNoRecord()
{
    // Two programs on one journal, their lines interleaved.
    RunJournal a(journalPath());
    RunJournal b(journalPath());
    QVERIFY(a.beginRun(RunKind::Create));
    a.recordMade(made("/w/a1", 1));
    a.flush();
    QVERIFY(b.beginRun(RunKind::Delete));
    b.recordTrashed(place("x"), "/w/x");
    b.flush();
    a.recordMade(made("/w/a2", 2));
    b.endRun();
    a.endRun();
    RunJournal reader(journalPath());
    QCOMPARE(reader.creation().paths(), (QStringList{"/w/a1", "/w/a2"}));
    QCOMPARE(reader.deletion().size(), 1);
    QVERIFY(reader.deletionNumber() > reader.creationNumber());

    // An undo that read the journal before another program's new run takes its folders off
    // the old run's record only: the new run stays whole.
    const quint64 old = reader.creationNumber();
    QVERIFY(b.beginRun(RunKind::Create));
    b.recordMade(made("/w/b1", 3));
    b.endRun();
    reader.recordTakenBack(old, "/w/a1");
    reader.flush();
    RunJournal after(journalPath());
    QCOMPARE(after.creation().paths(), QStringList{"/w/b1"});
    QVERIFY(after.creationNumber() > old);
    QCOMPARE(after.deletion().size(), 1);
    // The reader that took back sees the new run too, as soon as it looks again.
    reader.refresh();
    QCOMPARE(reader.creation().paths(), QStringList{"/w/b1"});
}

void TestJournal::compactionKeepsTheLastTwoRuns()
{
    RunJournal journal(journalPath());
    QStringList big;
    for (int i = 0; i < 20000; ++i)
        big << QStringLiteral("/w/a-long-enough-name-for-the-test/%1")
                   .arg(i, 6, 10, QLatin1Char('0'));
    writeRuns(journal, big, {"x"});
    RunJournal reader(journalPath());
    QCOMPARE(reader.creation().size(), 20000);
    const qint64 grown = QFileInfo(journalPath()).size();
    QVERIFY(grown > RunJournal::CompactAfter);

    // A new creation leaves the big one behind: it is dropped, the deletion stays.
    QVERIFY(journal.beginRun(RunKind::Create));
    journal.recordMade(made("/w/small", 1));
    journal.endRun();
    const qint64 compacted = QFileInfo(journalPath()).size();
    QVERIFY2(compacted < 4096, qPrintable(QString::number(compacted)));
    const quint64 creationNumber = journal.creationNumber();
    reader.refresh();
    for (RunJournal* j : {&reader, &journal}) {
        QCOMPARE(j->creation().paths(), QStringList{"/w/small"});
        QCOMPARE(j->deletion().size(), 1);
        QCOMPARE(j->creationNumber(), creationNumber);
    }
    // The numbering goes on where it was.
    QVERIFY(journal.beginRun(RunKind::Delete));
    journal.endRun();
    QCOMPARE(RunJournal(journalPath()).deletionNumber(), creationNumber + 1);
}

void TestJournal::earlierVersionIsTakenOver()
{
    // The snapshot an earlier version wrote: a creation, then a newer deletion.
    QByteArray old = "NMaker run journal 1\nnext 3\ncreation 1 1\nc 7 1 -1 /w/made\n"
                     "deletion 2 1\nt /t/Trash -\n"
                     "d 0 x x.trashinfo 7 11 64 123456789 7 12 99 /w/x\n";
    old += "end " + QCryptographicHash::hash(old, QCryptographicHash::Sha256).toHex() + '\n';
    QVERIFY(putBytes(journalPath(), old));
    auto steps = newSteps();
    QCOMPARE(steps->journal().state(), RunJournal::State::Read);
    QCOMPARE(steps->lastCreation().paths(), QStringList{"/w/made"});
    QCOMPARE(steps->nextUndo(), FolderSteps::UndoTarget::Deletion);

    // The next run writes the log, keeping the deletion as it was.
    RunJournal journal(journalPath());
    QVERIFY(journal.beginRun(RunKind::Create));
    journal.endRun();
    QVERIFY(fileBytes(journalPath()).startsWith("NMaker run journal 2 "));
    RunJournal after(journalPath());
    QCOMPARE(after.state(), RunJournal::State::Read);
    QCOMPARE(after.creationNumber(), quint64(3));
    QVERIFY(after.creation().isEmpty());
    QCOMPARE(after.deletionNumber(), quint64(2));
    QCOMPARE(after.deletion().size(), 1);
    QCOMPARE(after.deletion().front().original, QByteArray("/w/x"));
}

#ifdef Q_OS_UNIX

void TestJournal::killedRunIsTakenBackAsFarAsRecorded()
{
    {
        // An older deletion, which must not be taken for the run that died.
        RunJournal journal(journalPath());
        QVERIFY(journal.beginRun(RunKind::Delete));
        journal.recordTrashed(place("older"), "/w/older");
        journal.endRun();
    }
    const pid_t child = ::fork();
    if (child == 0) {
        auto steps = newSteps();
        SteppedRun run;
        run.at = 200;
        run.action = [] { ::raise(SIGKILL); };
        createSeries(*steps, 300, run);
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
    const QStringList madeBeforeKill = sortedEntries(at("w"));
    QCOMPARE(madeBeforeKill.size(), 199);

    auto steps = newSteps();
    QCOMPARE(steps->nextUndo(), FolderSteps::UndoTarget::Creation);
    QVERIFY(steps->journal().creationRun().interrupted());
    const QStringList recorded = steps->lastCreation().paths();
    // At most one batch of lines was still waiting when the process died.
    QVERIFY2(recorded.size() > 199 - RunJournal::BatchLines && recorded.size() <= 199,
             qPrintable(QString::number(recorded.size())));
    m_prompter.clear();
    steps->undoLast();
    QCOMPARE(m_prompter.shown.front().text, UndoText::trashRecordedQuestion(recorded.size()));
    // What was recorded went, the rest is where it was: never guessed at.
    const QStringList left = sortedEntries(at("w"));
    QCOMPARE(left.size(), 199 - recorded.size());
    for (const QString& name : left)
        QVERIFY2(!recorded.contains(QDir::toNativeSeparators(at("w/" + name))), qPrintable(name));
    QCOMPARE(left, madeBeforeKill.mid(recorded.size()));
}

void TestJournal::fullDisk_data()
{
    QTest::addColumn<qint64>("room"); // bytes the journal may still grow by
    QTest::newRow("no room for the run's header") << qint64(0);
    QTest::newRow("room for a few lines") << qint64(RunJournal::BatchLines * 110);
}

void TestJournal::fullDisk()
{
    QFETCH(qint64, room);
    {
        auto steps = newSteps();
        SteppedRun run;
        SeriesEngine(*steps).createSeries(
            {QDir::toNativeSeparators(at("v")) + QDir::separator(), "old", "", 1, 1, 1, false},
            run);
    }
    const qint64 size = QFileInfo(journalPath()).size();
    const pid_t child = ::fork();
    if (child == 0) {
        // A file may not grow past this: writes fail as on a full disk.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(size + room), rlim_t(size + room)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        m_prompter.clear();
        auto steps = newSteps();
        SteppedRun run;
        createSeries(*steps, 200, run);
        const QString where = QDir::toNativeSeparators(journalPath());
        const QString told =
            room == 0 ? UndoText::notRecorded(where) : UndoText::partlyRecorded(where);
        // The run made every folder, and said once that it cannot be (wholly) taken back.
        const bool ok = sortedEntries(at("w")).size() == 200 && m_prompter.shown.size() == 1 &&
                        m_prompter.shown.front().text == told;
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);

    auto steps = newSteps();
    if (room == 0) {
        // The older creation is not taken for the run that could not be recorded.
        QVERIFY(steps->journal().newestUnrecorded());
        QCOMPARE(steps->nextUndo(), FolderSteps::UndoTarget::None);
    } else {
        QCOMPARE(steps->nextUndo(), FolderSteps::UndoTarget::Creation);
        QCOMPARE(steps->journal().creationNumber(), quint64(2));
        // Each batch of lines went whole or not at all.
        const qsizetype onRecord = steps->lastCreation().size();
        QVERIFY2(onRecord > 0 && onRecord < 200, qPrintable(QString::number(onRecord)));
        m_prompter.clear();
        steps->undoLast();
        QCOMPARE(sortedEntries(at("w")).size(), 200 - onRecord);
    }
    QVERIFY(QFileInfo(at("v/old1")).isDir());
}

void TestJournal::runningRunIsLeftAlone()
{
    QProcess other;
    other.start("sleep", {"30"});
    QVERIFY(other.waitForStarted());
    const qint64 pid = other.processId();
    QVERIFY(QDir().mkpath(at("w/theirs")));
    {
        RunJournal journal(journalPath());
        QVERIFY(journal.beginRun(RunKind::Delete)); // a journal with a head, and an older run
        journal.endRun();
    }
    // Another program's run, begun and still going: its header names its process.
    const QByteArray header = "R 9 C 1 " + QByteArray::number(pid, 16) + ' ' +
                              QByteArray::number(JournalFile::processToken(pid), 16);
    const QByteArray folder =
        "c 9 0 0 -1 " + QFile::encodeName(QDir::toNativeSeparators(at("w/theirs")));
    QVERIFY(putBytes(journalPath(), fileBytes(journalPath()) + RunJournal::sealed(header) +
                                        RunJournal::sealed(folder)));

    auto steps = newSteps();
    QCOMPARE(steps->nextUndo(), FolderSteps::UndoTarget::Creation);
    QVERIFY(steps->journal().creationRun().running);
    m_prompter.clear();
    steps->undoLast();
    QCOMPARE(m_prompter.shown.size(), 1);
    QCOMPARE(m_prompter.shown.front().text, UndoText::stillRunning(true, pid));
    QVERIFY(QFileInfo(at("w/theirs")).isDir());
    // Once that program is gone, its run is an interrupted one, and can be taken back.
    other.kill();
    other.waitForFinished();
    steps->journal().refresh();
    QVERIFY(steps->journal().creationRun().interrupted());
}

#endif

QTEST_GUILESS_MAIN(TestJournal)
#include "test_journal.moc"
