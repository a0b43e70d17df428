// Taking a deletion back out of the freedesktop trash, on the real disk: what the journal keeps,
// and every way the trash or the places can have changed since. The journal is only a
// pointer: each row changes the disk (or the journal) between the deletion and its undo and
// says what must come back, what must stay in the trash, and what stays on record.
#include "ScriptedPrompter.h"
#include "TestHelpers.h"
#include "Unprivileged.h"
#include "fileservices/FileFolder.h"
#include "run/FolderSteps.h"
#include "run/RunJournal.h"
#include "run/RunReport.h"
#include "settings/Options.h"
#include "trash/FreedesktopTrash.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The journal's bytes with every line's checksum made anew, as a careful hand would leave them.
QByteArray resealed(const QByteArray& bytes)
{
    QByteArray out;
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.size() > 9)
            out += RunJournal::sealed(line.chopped(9));
    }
    return out;
}

} // namespace

class TestUndoDeletion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void journalKeepsBothRuns();
    void journalNotTaken_data();
    void journalNotTaken();
    void faults_data();
    void faults();
    void unmountedTrashStaysOnRecord();
    void parentsComeBackFirst();
    void entrySwappedBetweenCheckAndMove();
    void handEditedJournalMovesNothingElse_data();
    void handEditedJournalMovesNothingElse();
    void killedMidUndo();
    void newestRunIsTakenBack();
    void trashInMemorySaysSo();
    void homeNotOurs_data();
    void homeNotOurs();

private:
    QString at(const QString& relative) const { return m_dir->path() + '/' + relative; }
    QString trash() const { return at("data/Trash"); }
    QString journalPath() const { return at("state/NMaker/journal"); }
    // Makes w/c1..cN and sends them to the trash in one delete run.
    QStringList deleteSeries(int count);
    std::unique_ptr<FolderSteps> newSteps();

    std::unique_ptr<QTemporaryDir> m_dir;
    Options m_options;
    ScriptedPrompter m_prompter;
    std::unique_ptr<FileFolder> m_ff;
    std::unique_ptr<FolderSteps> m_steps;
};

void TestUndoDeletion::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(at("home")));
    QVERIFY(QDir().mkpath(at("w")));
    qputenv("HOME", QFile::encodeName(at("home")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(at("data")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(at("state")));
    m_prompter.clear();
    m_ff = std::make_unique<FileFolder>(&m_prompter);
    m_steps = newSteps();
}

void TestUndoDeletion::cleanup()
{
    m_steps.reset();
    m_ff.reset();
    ::chmod(QFile::encodeName(at("w")).constData(), 0700);
}

std::unique_ptr<FolderSteps> TestUndoDeletion::newSteps()
{
    auto steps = std::make_unique<FolderSteps>(*m_ff, m_prompter, m_options, hostPathStyle());
    steps->journal().setPath(RunJournal::defaultPath());
    return steps;
}

QStringList TestUndoDeletion::deleteSeries(int count)
{
    QStringList paths;
    for (int i = 1; i <= count; ++i) {
        paths << at(QStringLiteral("w/c%1").arg(i));
        QDir().mkpath(paths.last());
    }
    m_steps->startRun(RunKind::Delete);
    m_steps->deleteFolders(paths);
    m_steps->finishRun();
    m_prompter.clear();
    return paths;
}

void TestUndoDeletion::journalKeepsBothRuns()
{
    QCOMPARE(RunJournal::defaultPath(), journalPath());
    m_steps->startRun(RunKind::Create);
    m_steps->startCreating();
    m_steps->createOneFolder(at("w/made"));
    m_steps->finishRun();
    deleteSeries(3);
    // Another process (a restart) reads the same.
    RunJournal again(journalPath());
    QCOMPARE(again.state(), RunJournal::State::Read);
    QCOMPARE(again.creation().paths(), QStringList{at("w/made")});
    QCOMPARE(again.deletion().size(), 3);
    const TrashPlace& p = again.deletion().front();
    QCOMPARE(p.trashDir, QFile::encodeName(trash()));
    QCOMPARE(p.entry, QByteArray("c1"));
    QCOMPARE(p.info, QByteArray("c1.trashinfo"));
    QCOMPARE(p.original, QFile::encodeName(at("w/c1")));
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(trash() + "/info/c1.trashinfo").constData(), &st), 0);
    QCOMPARE(p.infoStamp.node, quint64(st.st_ino));
    QCOMPARE(p.infoStamp.size, qint64(st.st_size));
    QVERIFY(again.deletionNumber() > again.creationNumber());
    QVERIFY(fileBytes(journalPath()).startsWith("NMaker run journal 2 "));
}

void TestUndoDeletion::journalNotTaken_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("another program's file") << "foreign";
    QTest::newRow("empty") << "empty";
    QTest::newRow("larger than the bound") << "huge";
    QTest::newRow("a link to a journal") << "link";
}

void TestUndoDeletion::journalNotTaken()
{
    QFETCH(QString, change);
    deleteSeries(2);
    const QByteArray good = fileBytes(journalPath());
    QFile::remove(journalPath());
    if (change == "foreign") {
        putBytes(journalPath(), "[Trash Info]\nPath=/etc\n");
    } else if (change == "empty") {
        putBytes(journalPath(), "");
    } else if (change == "huge") {
        putBytes(journalPath(), good);
        QFile f(journalPath());
        QVERIFY(f.resize(RunJournal::MaxBytes + 1)); // sparse: nothing is written
    } else if (change == "link") {
        putBytes(at("elsewhere"), good);
        QVERIFY(QFile::link(at("elsewhere"), journalPath()));
    }
    RunJournal journal(journalPath());
    // An empty file is a journal begun on a full disk: no runs, nothing wrong.
    QCOMPARE(journal.state(), change == "empty" ? RunJournal::State::None : RunJournal::State::Bad);
    QCOMPARE(journal.problem().isEmpty(), change == "empty");
    QVERIFY(journal.deletion().isEmpty());
    // A restarted program has nothing to take back, and touches nothing.
    auto steps = newSteps();
    QCOMPARE(steps->nextUndo(), FolderSteps::UndoTarget::None);
    QCOMPARE(entries(trash() + "/files"), (QStringList{"c1", "c2"}));
    if (change == "link") {
        // The next record replaces the link, never what it points to.
        m_steps = std::move(steps);
        deleteSeries(1);
        QCOMPARE(fileBytes(at("elsewhere")), good);
        QVERIFY(!QFileInfo(journalPath()).isSymLink());
    }
}

void TestUndoDeletion::faults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("back");    // in w/ afterwards
    QTest::addColumn<QStringList>("inTrash"); // in files/ afterwards
    QTest::addColumn<QString>("reason");      // of c2, in the report's rows
    QTest::addColumn<int>("onRecord");        // items still on record

    const QStringList all{"c1", "c2", "c3"};
    QTest::newRow("nothing changed") << "" << all << QStringList{} << "" << 0;
    QTest::newRow("trash emptied of one")
        << "emptied" << QStringList{"c1", "c3"} << QStringList{} << "ごみ箱にないため" << 0;
    QTest::newRow("restored by hand") << "by hand" << all << QStringList{} << "" << 0;
    QTest::newRow("moved back, info file left (killed undo)")
        << "info left" << all << QStringList{} << "" << 0;
    QTest::newRow("same name trashed again after our run")
        << "trashed again" << QStringList{"c1", "c3"} << QStringList{"c2"} << "置き換えられたため"
        << 0;
    QTest::newRow("same-named folder made meanwhile")
        << "name taken" << all << QStringList{"c2"} << "同じ名前のフォルダが既にあるため" << 1;
    QTest::newRow("info file names another place")
        << "info edited" << QStringList{"c1", "c3"} << QStringList{"c2"} << "置き換えられたため"
        << 0;
    QTest::newRow("entry replaced in the trash") << "entry replaced" << QStringList{"c1", "c3"}
                                                 << QStringList{"c2"} << "置き換えられたため" << 0;
    QTest::newRow("read-only original folder") << "read-only" << QStringList{} << all << "" << 3;
    QTest::newRow("original folder gone")
        << "parent gone" << QStringList{} << all << "元の場所のフォルダがないため" << 3;
}

void TestUndoDeletion::faults()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, back);
    QFETCH(QStringList, inTrash);
    QFETCH(QString, reason);
    QFETCH(int, onRecord);
    deleteSeries(3);
    const QString entry = trash() + "/files/c2";
    const QString info = trash() + "/info/c2.trashinfo";
    if (fault == "emptied") {
        QVERIFY(QDir(entry).removeRecursively());
        QVERIFY(QFile::remove(info));
    } else if (fault == "by hand" || fault == "info left") {
        QVERIFY(QDir().rename(entry, at("w/c2")));
        if (fault == "by hand")
            QVERIFY(QFile::remove(info));
    } else if (fault == "trashed again") {
        QVERIFY(QDir(entry).removeRecursively());
        QVERIFY(QFile::remove(info));
        QVERIFY(QDir().mkpath(at("w/c2/theirs")));
        FreedesktopTrash t;
        QCOMPARE(t.moveToTrash(at("w/c2")).kind, TrashResult::Kind::Trashed);
        QVERIFY(QFileInfo::exists(entry + "/theirs")); // the same entry name, another item
    } else if (fault == "name taken") {
        QVERIFY(QDir().mkpath(at("w/c2/new")));
    } else if (fault == "info edited") {
        QByteArray text = fileBytes(info);
        text.replace("/w/c2", "/w/cX");
        QVERIFY(QFile::remove(info));
        QVERIFY(putBytes(info, text));
    } else if (fault == "entry replaced") {
        QVERIFY(QDir(entry).removeRecursively());
        QVERIFY(QDir().mkpath(entry + "/other"));
    } else if (fault == "read-only") {
        // Root writes into folders without write permission, but not into immutable ones.
        if (::geteuid() == 0 ? !setImmutable(at("w"), true)
                             : ::chmod(QFile::encodeName(at("w")).constData(), 0500) != 0)
            QSKIP("no way to make a folder read-only here");
    } else if (fault == "parent gone") {
        QVERIFY(QDir(at("w")).removeRecursively());
    }

    QCOMPARE(m_steps->nextUndo(), FolderSteps::UndoTarget::Deletion);
    RunReport report;
    m_steps->addListener(&report);
    m_steps->undoLast();
    if (fault == "read-only")
        setImmutable(at("w"), false);
    ::chmod(QFile::encodeName(at("w")).constData(), 0700);
    QCOMPARE(m_prompter.shown.size(), 2); // one question, one report
    QCOMPARE(m_prompter.shown.front().text,
             QStringLiteral("直前の削除でごみ箱に移動した 3 個のフォルダを元の場所に戻しますか？"));
    QCOMPARE(entries(at("w")).filter(QRegularExpression("^c\\d$")), back);
    QCOMPARE(entries(trash() + "/files"), inTrash);
    // What left the trash took its info file along; what stayed kept it.
    QStringList infos;
    for (const QString& name : inTrash)
        infos << name + ".trashinfo";
    QCOMPARE(entries(trash() + "/info"), infos);
    if (fault == "name taken")
        QVERIFY(QFileInfo::exists(at("w/c2/new"))); // never over an existing folder
    if (fault == "trashed again")
        QVERIFY(QFileInfo::exists(entry + "/theirs")); // never the wrong one
    for (const ReportRow& row : report.rows()) {
        if (row.path == at("w/c2") && fault != "read-only")
            QCOMPARE(row.reason, reason);
        if (fault == "read-only")
            QCOMPARE(row.outcome, FolderOutcome::Failed);
    }
    if (!reason.isEmpty())
        QVERIFY2(m_prompter.shown.last().text.contains(at("w/c2")),
                 qPrintable(m_prompter.shown.last().text));
    QCOMPARE(m_steps->lastDeletion().size(), onRecord);
    QCOMPARE(RunJournal(journalPath()).deletion().size(), onRecord);
    m_steps->removeListener(&report);
}

void TestUndoDeletion::unmountedTrashStaysOnRecord()
{
    deleteSeries(2);
    // The trash's volume is not there now: nothing happens, and nothing is forgotten.
    QVERIFY(QDir().rename(trash(), at("data/away")));
    m_steps->undoLastDeletion();
    QCOMPARE(entries(at("w")), QStringList{});
    QCOMPARE(m_steps->lastDeletion().size(), 2);
    QVERIFY(m_prompter.shown.last().text.contains("ごみ箱のあるボリュームが見つからないため"));
    // Back again: now they come back.
    QVERIFY(QDir().rename(at("data/away"), trash()));
    m_prompter.clear();
    m_steps->undoLastDeletion();
    QCOMPARE(entries(at("w")), (QStringList{"c1", "c2"}));
    QCOMPARE(m_prompter.shown.last().text,
             QStringLiteral("2 個のフォルダを元の場所に戻しました。"));
    QVERIFY(m_steps->lastDeletion().isEmpty());
}

void TestUndoDeletion::parentsComeBackFirst()
{
    // A list that named a folder after what it held: both went, the inner one first.
    QVERIFY(QDir().mkpath(at("w/p/q/r")));
    m_steps->startRun(RunKind::Delete);
    m_steps->deleteFolders({at("w/p/q/r"), at("w/p/q"), at("w/p")});
    QCOMPARE(entries(at("w")), QStringList{});
    m_prompter.clear();
    m_steps->undoLastDeletion();
    QVERIFY(QFileInfo(at("w/p/q/r")).isDir());
    QCOMPARE(entries(trash() + "/files"), QStringList{});
    QCOMPARE(entries(trash() + "/info"), QStringList{});
}

void TestUndoDeletion::entrySwappedBetweenCheckAndMove()
{
    deleteSeries(2);
    // Between the last check and the move, another process puts another item in its place.
    const QString entry = trash() + "/files/c1";
    m_ff->setRestoreHook([&](const QString& original) {
        if (original != at("w/c1"))
            return;
        QVERIFY(QDir().rename(entry, at("aside")));
        QVERIFY(QDir().mkpath(entry + "/intruder"));
    });
    m_steps->undoLastDeletion();
    m_ff->setRestoreHook({});
    QCOMPARE(entries(at("w")), QStringList{"c2"});
    QVERIFY(QFileInfo::exists(entry + "/intruder")); // put back where it was
    QVERIFY(QFileInfo::exists(trash() + "/info/c1.trashinfo"));
}

void TestUndoDeletion::handEditedJournalMovesNothingElse_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("reason");
    QTest::newRow("another place")
        << QByteArray("/w/c1 ") << QByteArray("/w/zz ") << "置き換えられたため";
    QTest::newRow("a climbing entry")
        << QByteArray(" c1 c1.trashinfo ") << QByteArray(" ..%2Fc1 ..%2Fc1.trashinfo ")
        << "記録が正しくないため";
    QTest::newRow("a folder that is no trash of this home")
        << QByteArray("/data/Trash ") << QByteArray("/w ")
        << "このセッションのホームのごみ箱ではありません (HOME か XDG_DATA_HOME "
           "が削除のときと違います)";
    QTest::newRow("a volume trash of another user")
        << QByteArray("/data/Trash -") << QByteArray("/data/.Trash-99999 /data")
        << "記録が正しくないため";
}

void TestUndoDeletion::handEditedJournalMovesNothingElse()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, reason);
    deleteSeries(2);
    QByteArray bytes = fileBytes(journalPath());
    QVERIFY(bytes.contains(from));
    bytes.replace(from, to);
    QVERIFY(putBytes(journalPath(), resealed(bytes)));
    auto steps = newSteps();
    RunReport report;
    steps->addListener(&report);
    steps->undoLast();
    QCOMPARE(entries(at("w")), from.startsWith("/data") ? QStringList{} : QStringList{"c2"});
    QVERIFY(QFileInfo::exists(trash() + "/files/c1"));
    QVERIFY(QFileInfo::exists(trash() + "/info/c1.trashinfo"));
    QVERIFY(!report.rows().isEmpty());
    QCOMPARE(report.rows().front().reason, reason);
}

void TestUndoDeletion::killedMidUndo()
{
    deleteSeries(200);
    QFile::remove(at("killed"));
    const pid_t child = ::fork();
    if (child == 0) {
        int seen = 0;
        m_ff->setRestoreHook([&](const QString&) {
            if (++seen == 120)
                ::raise(SIGKILL);
        });
        m_steps->undoLastDeletion();
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
    // Every folder is back, or in the trash with its info file.
    const QStringList back = entries(at("w"));
    const QStringList inTrash = entries(trash() + "/files");
    QCOMPARE(back.size() + inTrash.size(), 200);
    QCOMPARE(back.size(), 119);
    for (const QString& name : inTrash)
        QVERIFY2(QFileInfo::exists(trash() + "/info/" + name + ".trashinfo"), qPrintable(name));
    // What came back before the kill left the record as it went, a batch of lines at a time;
    // the next undo brings the rest, and what came back unrecorded counts as back.
    auto steps = newSteps();
    const qsizetype onRecord = steps->lastDeletion().size();
    QVERIFY2(onRecord <= 200 && onRecord >= 200 - 119, qPrintable(QString::number(onRecord)));
    steps->undoLast();
    QCOMPARE(entries(at("w")).size(), 200);
    QCOMPARE(entries(trash() + "/files"), QStringList{});
    QCOMPARE(entries(trash() + "/info"), QStringList{});
    QCOMPARE(m_prompter.shown.last().text,
             QStringLiteral("%1 個のフォルダを元の場所に戻しました。").arg(onRecord));
}

void TestUndoDeletion::newestRunIsTakenBack()
{
    QCOMPARE(m_steps->nextUndo(), FolderSteps::UndoTarget::None);
    m_steps->startRun(RunKind::Create);
    m_steps->startCreating();
    m_steps->createOneFolder(at("w/made"));
    m_steps->finishRun();
    QCOMPARE(m_steps->nextUndo(), FolderSteps::UndoTarget::Creation);
    deleteSeries(1);
    // After a restart, the deletion first, then the creation.
    auto steps = newSteps();
    QCOMPARE(steps->nextUndo(), FolderSteps::UndoTarget::Deletion);
    steps->undoLast();
    QVERIFY(QFileInfo(at("w/c1")).isDir());
    QCOMPARE(steps->nextUndo(), FolderSteps::UndoTarget::Creation);
    steps->undoLast();
    QVERIFY(!QFileInfo::exists(at("w/made")));
    QVERIFY(QFileInfo(at("w/c1")).isDir()); // not the creation's
    QCOMPARE(newSteps()->nextUndo(), FolderSteps::UndoTarget::None);
}

void TestUndoDeletion::trashInMemorySaysSo()
{
    // /dev/shm is a tmpfs wherever it exists on Linux.
    QTemporaryDir shm(QStringLiteral("/dev/shm/test_undo_deletion-XXXXXX"));
    if (!shm.isValid())
        QSKIP("no /dev/shm here");
    qputenv("XDG_DATA_HOME", QFile::encodeName(shm.filePath("data")));
    m_ff = std::make_unique<FileFolder>(&m_prompter);
    m_steps = newSteps();
    QVERIFY(QDir().mkpath(shm.filePath("w/c1")));
    RunReport report;
    m_steps->addListener(&report);
    m_steps->startRun(RunKind::Delete);
    QVERIFY(m_steps->deleteFolders({shm.filePath("w/c1")}));
    m_steps->finishRun();
    m_steps->removeListener(&report);
    // Trashed, restorable until the next restart, and said so.
    QCOMPARE(report.rows().size(), 1);
    QCOMPARE(report.rows().front().outcome, FolderOutcome::Trashed);
    QCOMPARE(report.rows().front().reason,
             QStringLiteral("ごみ箱がメモリ上 (tmpfs) にあるため、次に再起動すると消えます"));
}

void TestUndoDeletion::homeNotOurs_data()
{
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("reason"); // of the folder that stays
    QTest::newRow("another user's home (root run by sudo without -H)")
        << "foreign"
        << "ホームフォルダ %1 が別のユーザーのものなので、その中にはフォルダを作りません";
    QTest::newRow("the trash a link to another user's folder")
        << "trash link"
        << "ごみ箱 %1 がこのユーザーのフォルダではありません "
           "(別のユーザーのフォルダか、そこへのリンク)";
    QTest::newRow("a home that is no text")
        << "not text"
        << "HOME か XDG_DATA_HOME がファイル名の文字コード (UTF-8) として読めません";
}

void TestUndoDeletion::homeNotOurs()
{
    QFETCH(QString, home);
    QFETCH(QString, reason);
    QString where;
    if (home == "foreign") {
        if (::geteuid() != 0)
            QSKIP("only root can run in another user's home");
        // The data home is the home's own default: nothing set by the test points elsewhere.
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_STATE_HOME");
        QVERIFY(::chown(QFile::encodeName(at("home")).constData(), 65534, 65534) == 0);
        where = at("home");
    } else if (home == "trash link") {
        if (::geteuid() != 0)
            QSKIP("only root can make another user's folder");
        QVERIFY(QDir().mkpath(at("theirs")));
        QVERIFY(QDir().mkpath(at("data")));
        QVERIFY(::chown(QFile::encodeName(at("theirs")).constData(), 65534, 65534) == 0);
        QVERIFY(QFile::link(at("theirs"), trash()));
        where = trash();
    } else {
        qunsetenv("XDG_DATA_HOME");
        qputenv("HOME", QFile::encodeName(at("home")) + "/\xff");
    }
    m_ff = std::make_unique<FileFolder>(&m_prompter);
    m_steps = newSteps();
    QVERIFY(QDir().mkpath(at("w/c1")));
    RunReport report;
    m_steps->addListener(&report);
    m_steps->startRun(RunKind::Delete);
    QVERIFY(!m_steps->deleteFolders({at("w/c1")}));
    m_steps->finishRun();
    m_steps->removeListener(&report);
    // The folder stays, with the real reason; nothing was made in a home not the caller's.
    QVERIFY(QFileInfo(at("w/c1")).isDir());
    QCOMPARE(report.rows().size(), 1);
    QCOMPARE(report.rows().front().reason, where.isEmpty() ? reason : reason.arg(where));
    if (home == "foreign")
        QCOMPARE(entries(at("home")), QStringList{});
    if (home == "trash link")
        QCOMPARE(entries(at("theirs")), QStringList{});
}

QTEST_GUILESS_MAIN(TestUndoDeletion)
#include "test_undo_deletion.moc"
