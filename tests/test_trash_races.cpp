// Another process changes the tree between our check and our move: the delete run and the
// undo must move only what they checked, or nothing. Each change is made at an exact step,
// from the trash's hooks or while the confirmation is open.
#include "CountingRun.h"
#include "ScriptedPrompter.h"
#include "TestHelpers.h"
#include "fileservices/FileFolder.h"
#include "run/FolderSteps.h"
#include "series/SeriesEngine.h"
#include "settings/Options.h"
#include "trash/WindowsRecycleBin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace
{

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

bool makeFile(const QString& path)
{
    return QDir().mkpath(QFileInfo(path).path()) && putBytes(path, "precious");
}

// Sets a folder's times a minute back, so that it counts as settled.
// Sets the times to one fixed moment long ago: done again after a change, it leaves the times
// as a clock of coarse ticks (FAT's two seconds) would.
bool backdate(const QString& path)
{
#ifdef Q_OS_WIN
    const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
    HANDLE h = ::CreateFileW(wide.c_str(), FILE_WRITE_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    ULARGE_INTEGER t;
    t.QuadPart = 132223104000000000ULL; // 2020-01-01 00:00 UTC
    FILETIME old;
    old.dwLowDateTime = t.LowPart;
    old.dwHighDateTime = t.HighPart;
    const bool ok = ::SetFileTime(h, nullptr, &old, &old) != 0;
    ::CloseHandle(h);
    return ok;
#else
    const timespec old[2] = {{1577836800, 0}, {1577836800, 0}}; // 2020-01-01 00:00 UTC
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), old, 0) == 0;
#endif
}

// Every message a run showed, the trash's own confirmation aside.
QList<int> catalogueNumbers(const ScriptedPrompter& p)
{
    QList<int> numbers;
    for (const PromptRequest& r : p.shown) {
        if (r.number >= 0)
            numbers << r.number;
    }
    return numbers;
}

struct Recorder : FolderListener {
    QList<FolderEvent> events;
    void folderDone(const FolderEvent& e) override { events << e; }
    QStringList paths(FolderOutcome o) const
    {
        QStringList list;
        for (const FolderEvent& e : events) {
            if (e.outcome == o)
                list << e.path;
        }
        return list;
    }
};

} // namespace

class TestTrashRaces : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void parentSwappedForALink_data();
    void parentSwappedForALink();
    void itemSwappedRightBeforeTheRename();
    void filledAfterTheCheck_data();
    void filledAfterTheCheck();
    void vanishedAfterTheCheck();
    void onlyEntriesThatAreNoFiles_data();
    void onlyEntriesThatAreNoFiles();
    void undoKeepsWhatWasFilled_data();
    void undoKeepsWhatWasFilled();
    void undoKeepsWhatWasReplaced_data();
    void undoKeepsWhatWasReplaced();

private:
    // In the host's own form, as the runs take and tell paths.
    QString at(const QString& relative) const
    {
        return QDir::toNativeSeparators(m_dir->path() + '/' + relative);
    }
    QString trashFiles() const { return at("data/Trash/files"); }
    // The names of what this test put in the trash (the recycle bin on Windows), sorted.
    QStringList inTrash() const;
    QStringList series(const QString& folder, int count) const;
    // Deletes the paths through the shared folder steps, the trash answering through `ff`.
    bool deleteRun(const QStringList& paths, bool withContents);
    void createRun(const QString& target, int count);

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompter m_prompter;
    Options m_options;
    std::unique_ptr<FileFolder> m_ff;
    std::unique_ptr<FolderSteps> m_steps;
    Recorder m_events;
};

QStringList TestTrashRaces::inTrash() const
{
#ifdef Q_OS_WIN
    QStringList names;
    const QString mine = at(QString());
    for (const QString& origin : WindowsRecycleBin::originalPaths().value_or(QStringList())) {
        if (origin.startsWith(mine, Qt::CaseInsensitive))
            names << origin.section('\\', -1);
    }
    names.sort();
    return names;
#else
    return entries(trashFiles());
#endif
}

void TestTrashRaces::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(at("home")));
    qputenv("HOME", QFile::encodeName(at("home")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(at("data")));
    m_prompter.clear();
    m_prompter.onPrompt = nullptr;
    m_ff = std::make_unique<FileFolder>(&m_prompter);
    m_steps = std::make_unique<FolderSteps>(*m_ff, m_prompter, m_options, hostPathStyle());
    m_events = {};
    m_steps->addListener(&m_events);
}

void TestTrashRaces::cleanup()
{
    m_steps.reset();
    m_ff.reset();
}

QStringList TestTrashRaces::series(const QString& folder, int count) const
{
    QStringList paths;
    for (int i = 1; i <= count; ++i)
        paths << at(folder + QStringLiteral("/d%1").arg(i, 5, 10, QLatin1Char('0')));
    return paths;
}

bool TestTrashRaces::deleteRun(const QStringList& paths, bool withContents)
{
    m_options.setCheckedIndex(Options::Delete, withContents ? 1 : 0);
    m_steps->startRun(RunKind::Delete);
    return m_steps->deleteFolders(paths);
}

void TestTrashRaces::createRun(const QString& target, int count)
{
    CountingRun run;
    m_options.setCheckedIndex(Options::Create, 0);
    SeriesEngine(*m_steps).createSeries({target, "c", "", 1, count, 3, true}, run);
}

void TestTrashRaces::parentSwappedForALink_data()
{
    QTest::addColumn<int>("swapAt"); // the item whose turn it is when par/ is swapped
    QTest::newRow("at the first item") << 1;
    QTest::newRow("half-way") << 100;
}

void TestTrashRaces::parentSwappedForALink()
{
#ifndef Q_OS_UNIX
    QSKIP("a folder link needs a privilege on Windows; QFile::link makes a shortcut file there");
#endif
    QFETCH(int, swapAt);
    constexpr int count = 200;
    const QStringList paths = series("par", count);
    for (const QString& p : paths)
        QVERIFY(QDir().mkpath(p));
    // The victim holds folders of the same names, each with a file.
    for (int i = 1; i <= count; ++i)
        QVERIFY(
            makeFile(at(QStringLiteral("victim/d%1/keep.txt").arg(i, 5, 10, QLatin1Char('0')))));

    m_ff->setTrashHooks([&](const QString& path) {
        if (path != paths.at(swapAt - 1))
            return;
        QVERIFY(QDir().rename(at("par"), at("par-away")));
        QVERIFY(QFile::link(at("victim"), at("par")));
    });
    QVERIFY(!deleteRun(paths, true));

    // Nothing of the victim moved; what had not gone yet is still in par-away.
    for (int i = 1; i <= count; ++i) {
        const QString name = QStringLiteral("d%1").arg(i, 5, 10, QLatin1Char('0'));
        QVERIFY2(QFileInfo::exists(at("victim/" + name + "/keep.txt")), qPrintable(name));
        QCOMPARE(QFileInfo::exists(at("par-away/" + name)), i >= swapAt);
    }
    QCOMPARE(inTrash().size(), swapAt - 1);
    const FolderSteps::Tally& t = m_steps->tally();
    QCOMPARE(t.trashed, swapAt - 1);
    QCOMPARE(t.failed + t.missing, count - swapAt + 1);
    QVERIFY(t.failed >= 1);
    QVERIFY(catalogueNumbers(m_prompter).contains(16));
}

void TestTrashRaces::itemSwappedRightBeforeTheRename()
{
    // After every check, another folder is put where d00002 was: the rename takes the
    // newcomer, which must be put back.
    const QStringList paths = series("par", 3);
    for (const QString& p : paths)
        QVERIFY(QDir().mkpath(p));
    QVERIFY(makeFile(at("other/d00002/keep.txt")));
    m_ff->setTrashHooks({}, [&](const QString& path) {
        if (path != paths.at(1))
            return;
        QVERIFY(QDir().rename(path, at("par/moved-away")));
        QVERIFY(QDir().rename(at("other/d00002"), path));
    });
    QVERIFY(!deleteRun(paths, true));
    QVERIFY(QFileInfo::exists(at("par/d00002/keep.txt")));
    QVERIFY(QFileInfo::exists(at("par/moved-away")));
    QCOMPARE(inTrash(), (QStringList{"d00001", "d00003"}));
#ifdef Q_OS_UNIX
    QCOMPARE(entries(at("data/Trash/info")), (QStringList{"d00001.trashinfo", "d00003.trashinfo"}));
#endif
    QCOMPARE(m_events.paths(FolderOutcome::Failed), QStringList{paths.at(1)});
}

void TestTrashRaces::filledAfterTheCheck_data()
{
    QTest::addColumn<bool>("whileConfirming"); // else right as its turn comes
    QTest::addColumn<QString>("arrives");      // relative to the folder
    QTest::addColumn<bool>("kept");
    QTest::addColumn<bool>("settled"); // last changed long before the run, as most folders are
    QTest::addColumn<bool>("coarse");  // the folder's times do not change as the file arrives
    QTest::addRow("a file as its turn comes, the folder's times unchanged (a coarse clock)")
        << false << "precious.txt" << true << true << true;
    for (const bool settled : {false, true}) {
        const char* age = settled ? ", folders of old" : ", folders just made";
        QTest::addRow("a file while the confirmation is open%s", age)
            << true << "precious.txt" << true << settled << false;
        QTest::addRow("a file as its turn comes%s", age)
            << false << "precious.txt" << true << settled << false;
        QTest::addRow("only a subfolder with a file: empty for this option%s", age)
            << false << "sub/precious.txt" << false << settled << false;
        QTest::addRow("only a hidden file%s", age)
            << false << ".precious" << false << settled << false;
    }
}

void TestTrashRaces::filledAfterTheCheck()
{
    QFETCH(bool, whileConfirming);
    QFETCH(QString, arrives);
    QFETCH(bool, kept);
    QFETCH(bool, settled);
    QFETCH(bool, coarse);
    const QStringList paths = series("w", 3);
    for (const QString& p : paths) {
        QVERIFY(QDir().mkpath(p));
        if (settled)
            QVERIFY(backdate(p));
    }
    const QString file = paths.at(1) + '/' + arrives;
    if (whileConfirming)
        m_prompter.onPrompt = [&](const PromptRequest&) { QVERIFY(makeFile(file)); };
    else
        m_ff->setTrashHooks([&](const QString& path) {
            if (path != paths.at(1))
                return;
            QVERIFY(makeFile(file));
            if (coarse)
                QVERIFY(backdate(path));
        });
    QVERIFY(deleteRun(paths, false));
    QCOMPARE(QFileInfo::exists(file), kept);
    QCOMPARE(m_steps->tally().kept, kept ? 1 : 0);
    QCOMPARE(m_steps->tally().trashed, kept ? 2 : 3);
    QCOMPARE(m_events.paths(FolderOutcome::Kept), kept ? QStringList{paths.at(1)} : QStringList{});
    QCOMPARE(catalogueNumbers(m_prompter), QList<int>{});
}

void TestTrashRaces::onlyEntriesThatAreNoFiles_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("a link to a file") << "file link";
    QTest::newRow("a link to a folder") << "folder link";
    QTest::newRow("a dangling link") << "dangling link";
}

void TestTrashRaces::onlyEntriesThatAreNoFiles()
{
#ifndef Q_OS_UNIX
    QSKIP("FIFOs and links as POSIX makes them");
#else
    // Only an ordinary file makes a folder one to keep: this one goes, its entry with it, and
    // nothing it points to is touched.
    QFETCH(QString, entry);
    const QStringList paths = series("w", 1);
    QVERIFY(QDir().mkpath(paths.front()));
    QVERIFY(makeFile(at("elsewhere/precious.txt")));
    const QByteArray inside = QFile::encodeName(paths.front() + "/entry");
    const QByteArray target = QFile::encodeName(entry == "file link" ? at("elsewhere/precious.txt")
                                                : entry == "folder link" ? at("elsewhere")
                                                                         : at("nowhere"));
    QCOMPARE(entry == "fifo" ? ::mkfifo(inside.constData(), 0600)
                             : ::symlink(target.constData(), inside.constData()),
             0);
    QVERIFY(deleteRun(paths, false));
    QCOMPARE(m_steps->tally().trashed, 1);
    QCOMPARE(inTrash(), QStringList{QFileInfo(paths.front()).fileName()});
    QVERIFY(QFileInfo::exists(at("elsewhere/precious.txt")));
    QCOMPARE(catalogueNumbers(m_prompter), QList<int>{});
#endif
}

void TestTrashRaces::vanishedAfterTheCheck()
{
    const QStringList paths = series("w", 3);
    for (const QString& p : paths)
        QVERIFY(QDir().mkpath(p));
    m_ff->setTrashHooks([&](const QString& path) {
        if (path == paths.at(1))
            QVERIFY(QDir().rmdir(path));
    });
    QVERIFY(deleteRun(paths, false));
    const FolderSteps::Tally& t = m_steps->tally();
    QCOMPARE(t.trashed, 2);
    QCOMPARE(t.missing, 1);
    QCOMPARE(t.failed, 0);
    QCOMPARE(m_events.paths(FolderOutcome::Missing), QStringList{paths.at(1)});
    // Told like any folder that was not there.
    QCOMPARE(catalogueNumbers(m_prompter), QList<int>{17});
    QCOMPARE(m_prompter.shown.back().text,
             "削除しようとしたフォルダ\r\n" + paths.at(1) + "\r\nが存在しませんでした");
}

void TestTrashRaces::undoKeepsWhatWasFilled_data()
{
    QTest::addColumn<QString>("arrives"); // relative to the target
    QTest::addColumn<QStringList>("stays");
    QTest::newRow("a file") << "c002/precious.txt" << QStringList{"c002"};
    QTest::newRow("a subfolder with a file") << "c002/sub/precious.txt" << QStringList{"c002"};
    QTest::newRow("a hidden file") << "c003/.precious" << QStringList{"c003"};
}

void TestTrashRaces::undoKeepsWhatWasFilled()
{
    QFETCH(QString, arrives);
    QFETCH(QStringList, stays);
    QVERIFY(QDir().mkpath(at("t")));
    createRun(at("t/"), 3);
    QCOMPARE(entries(at("t")), (QStringList{"c001", "c002", "c003"}));
    // Written while the undo's confirmation is open.
    m_prompter.clear();
    m_prompter.onPrompt = [&](const PromptRequest& r) {
        if (r.text.contains("ごみ箱に移動しますか"))
            QVERIFY(makeFile(at("t/" + arrives)));
    };
    m_steps->undoLastCreation();
    QCOMPARE(entries(at("t")), stays);
    QVERIFY(QFileInfo::exists(at("t/" + arrives)));
    QCOMPARE(inTrash().size(), 3 - stays.size());
    QCOMPARE(m_prompter.shown.size(), 2);
    QCOMPARE(m_prompter.shown.back().text,
             "次のフォルダは中身があるため残しました:\r\n" + at("t/" + stays.front()));
}

void TestTrashRaces::undoKeepsWhatWasReplaced_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("trashed");  // names in the trash
    QTest::addColumn<QStringList>("kept");     // relative to t, as the box names them
    QTest::addColumn<QStringList>("replaced"); // likewise
    QTest::newRow("removed and made again at once")
        << "again" << QStringList{"c001", "c003"} << QStringList{"new"} << QStringList{"new/c002"};
    QTest::newRow("another folder renamed into its place")
        << "renamed" << QStringList{"c001", "c003"} << QStringList{"new"}
        << QStringList{"new/c002"};
#ifdef Q_OS_UNIX
    QTest::newRow("its parent replaced by a link to another folder")
        << "link" << QStringList{} << QStringList{}
        << QStringList{"new/c001", "new/c002", "new/c003", "new"};
#endif
}

void TestTrashRaces::undoKeepsWhatWasReplaced()
{
    QFETCH(QString, change);
    QFETCH(QStringList, trashed);
    QFETCH(QStringList, kept);
    QFETCH(QStringList, replaced);
    QVERIFY(QDir().mkpath(at("t")));
    createRun(at("t/new/"), 3); // t/new is made by the run too
    QVERIFY(QFileInfo(at("t/new/c003")).isDir());
#ifdef Q_OS_WIN
    // Wine hands a new folder the old one's Unix inode as its number and has no stable
    // creation time, so nothing can tell the two apart there; NTFS numbers never repeat so.
    if (change == "again" && ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        QSKIP("under Wine a folder made again at once is indistinguishable from the old one");
#endif
    if (change == "again") {
        QVERIFY(QDir().rmdir(at("t/new/c002")));
        QVERIFY(QDir().mkdir(at("t/new/c002")));
    } else if (change == "renamed") {
        QVERIFY(QDir().mkpath(at("elsewhere/x")));
        QVERIFY(QDir().rmdir(at("t/new/c002")));
        QVERIFY(QDir().rename(at("elsewhere/x"), at("t/new/c002")));
    } else {
        for (const char* c : {"c001", "c002", "c003"})
            QVERIFY(QDir().mkpath(at("victim/") + QLatin1String(c)));
        QVERIFY(QDir().rename(at("t/new"), at("t/gone")));
        QVERIFY(QFile::link(at("victim"), at("t/new")));
    }
    m_prompter.clear();
    m_steps->undoLastCreation();
    QCOMPARE(inTrash(), trashed);
    if (change == "link")
        QCOMPARE(entries(at("victim")), (QStringList{"c001", "c002", "c003"}));
    auto named = [this](const QStringList& relative) {
        QStringList list;
        for (const QString& r : relative)
            list << at("t/" + r);
        return list.join("\r\n");
    };
    QString box;
    if (!kept.isEmpty())
        box = "次のフォルダは中身があるため残しました:\r\n" + named(kept) + "\r\n\r\n";
    box += "次のフォルダは置き換えられたため残しました:\r\n" + named(replaced);
    QCOMPARE(m_prompter.shown.back().text, box);
}

QTEST_GUILESS_MAIN(TestTrashRaces)
#include "test_trash_races.moc"
