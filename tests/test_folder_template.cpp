// Folder templates on the host's own file system: what a copy brings, what it never does
// (follow a link, write over anything, go past its bounds), and when an undo takes a copy
// back. Changes "by another process" are made at exact steps from the copy's and the trash's
// hooks.
#include "CountingRun.h"
#include "ScriptedPrompter.h"
#include "TestHelpers.h"
#include "fileops/CopyReasons.h"
#include "host/HostFileSystem.h"
#include "run/FolderSteps.h"
#include "series/SeriesEngine.h"
#include "settings/Options.h"
#include "templates/FolderTemplate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

struct Recorder : FolderListener {
    struct Seen {
        FolderOutcome outcome;
        QString path;
        QString code;
        int folders = -1;
        int files = -1;
        QList<NotCopied> notCopied;
    };
    QList<Seen> events;
    void folderDone(const FolderEvent& e) override
    {
        Seen s{e.outcome, e.path, QString::fromLatin1(e.reasonCode ? e.reasonCode : ""),
               -1,        -1,     {}};
        if (e.copy) {
            s.folders = e.copy->folders;
            s.files = e.copy->files;
            s.notCopied = e.copy->notCopied;
        }
        events << s;
    }
    const Seen* of(const QString& path) const
    {
        for (const Seen& s : events) {
            if (s.path == path)
                return &s;
        }
        return nullptr;
    }
};

QString codeOf(const QList<NotCopied>& list, const QString& path)
{
    for (const NotCopied& n : list) {
        if (n.path == path)
            return QString::fromLatin1(n.why.code);
    }
    return {};
}

bool makeFile(const QString& path, const QByteArray& bytes = "precious")
{
    return QDir().mkpath(QFileInfo(path).path()) && putBytes(path, bytes);
}

bool appendTo(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::Append) && f.write(bytes) == bytes.size();
}

// A host whose volume fills after `room` entries of a copy, and whose free space reads as
// `free` bytes (-1: as the host says).
class FullVolume : public HostFileSystem
{
public:
    qsizetype room = -1;
    qint64 free = -1;
    TreeCopyResult copyTree(const QString& from, const QString& to, const QList<TreeEntry>& entries,
                            bool withFiles, const CopyProceed& proceed) override
    {
        if (room < 0 || room >= entries.size())
            return HostFileSystem::copyTree(from, to, entries, withFiles, proceed);
        TreeCopyResult r =
            HostFileSystem::copyTree(from, to, entries.first(room), withFiles, proceed);
        for (qsizetype i = room; i < entries.size(); ++i)
            r.notCopied.append({entries.at(i).path, CopyReason::noSpace()});
        r.cutShort = true;
        return r;
    }
    qint64 freeBytes(const QString& path) override
    {
        return free >= 0 ? free : HostFileSystem::freeBytes(path);
    }
};

} // namespace

class TestFolderTemplate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void copyKeepsTheTree();
    void foldersOnlyAndExistingFolders();
    void changesDuringTheCopy_data();
    void changesDuringTheCopy();
    void refusedBeforeAnything_data();
    void refusedBeforeAnything();
    void cancelStopsAtTheNextEntry();
    void fullVolumeStopsTheRun();
    void undoTakesBackOnlyAsCopied_data();
    void undoTakesBackOnlyAsCopied();

private:
    QString at(const QString& relative) const
    {
        return QDir::toNativeSeparators(m_dir->path() + '/' + relative);
    }
    // A small template: two levels of folders, files, and on POSIX a link out of it.
    void makeTemplate();
    void useTemplate(bool foldersOnly = false)
    {
        m_options.setFolderTemplate({at("tpl"), foldersOnly});
    }
    void createRun(int count, RunContext* context = nullptr);
    void newSteps();

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompter m_prompter;
    Options m_options;
    FullVolume m_fs;
    std::unique_ptr<FolderSteps> m_steps;
    Recorder m_events;
};

void TestFolderTemplate::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(at("home")));
    qputenv("HOME", QFile::encodeName(at("home")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(at("data")));
    m_prompter.clear();
    m_options.setFolderTemplate({});
    m_fs.room = -1;
    m_fs.free = -1;
    m_fs.setPrompter(&m_prompter);
    m_fs.setTrashShowing({false, false});
    m_fs.setCopyHook({});
    m_fs.setTrashHooks({});
    newSteps();
}

void TestFolderTemplate::cleanup()
{
    m_steps.reset();
}

void TestFolderTemplate::newSteps()
{
    m_steps = std::make_unique<FolderSteps>(m_fs, m_prompter, m_options, hostPathStyle());
    m_steps->journal().setPath(at("journal/runs.log"));
    m_events = {};
    m_steps->addListener(&m_events);
}

void TestFolderTemplate::makeTemplate()
{
    QVERIFY(QDir().mkpath(at("tpl/01_受付/メモ")));
    QVERIFY(QDir().mkpath(at("tpl/02_見積")));
    QVERIFY(makeFile(at("tpl/checklist.txt"), "check"));
    QVERIFY(makeFile(at("tpl/01_受付/form.txt"), QByteArray(100000, 'x')));
    QVERIFY(makeFile(at("outside/secret.txt"), "secret"));
#ifndef Q_OS_WIN
    QVERIFY(QFile::link(at("outside/secret.txt"), at("tpl/link")));
#endif
}

void TestFolderTemplate::createRun(int count, RunContext* context)
{
    CountingRun quiet;
    SeriesEngine(*m_steps).createSeries(
        {at("work") + QDir::separator(), "case", "", 1, count, 3, true},
        context ? *context : quiet);
}

void TestFolderTemplate::copyKeepsTheTree()
{
    makeTemplate();
#ifndef Q_OS_WIN
    QVERIFY(::chmod(QFile::encodeName(at("tpl/checklist.txt")).constData(), 0640) == 0);
    QVERIFY(::mkfifo(QFile::encodeName(at("tpl/pipe")).constData(), 0600) == 0);
    // A read-only folder is filled before it takes its own bits.
    QVERIFY(makeFile(at("tpl/ro/inside.txt")));
    QVERIFY(::chmod(QFile::encodeName(at("tpl/ro")).constData(), 0555) == 0);
#endif
    {
        QFile f(at("tpl/checklist.txt"));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)),
                              QFileDevice::FileModificationTime));
    }
    useTemplate();
    createRun(2);

    const QString copy = at("work/case002");
    const Recorder::Seen* seen = m_events.of(copy);
    QVERIFY(seen);
    QCOMPARE(seen->outcome, FolderOutcome::Created);
    QCOMPARE(fileBytes(copy + "/01_受付/form.txt"), QByteArray(100000, 'x'));
    QCOMPARE(fileBytes(copy + "/checklist.txt"), QByteArray("check"));
    QVERIFY(QFileInfo(copy + "/01_受付/メモ").isDir());
    QCOMPARE(QFileInfo(copy + "/checklist.txt").lastModified(),
             QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)));
#ifndef Q_OS_WIN
    // The link is a link, to where the template's points: never a copy of what it points to.
    QVERIFY(QFileInfo(copy + "/link").isSymLink());
    QCOMPARE(QFile::symLinkTarget(copy + "/link"), at("outside/secret.txt"));
    QCOMPARE(QFileInfo(copy + "/checklist.txt").permissions() & 0x0fff,
             QFileInfo(at("tpl/checklist.txt")).permissions() & 0x0fff);
    QVERIFY(!QFileInfo::exists(copy + "/pipe"));
    QCOMPARE(codeOf(seen->notCopied, "pipe"), QString("special_file"));
    QCOMPARE(fileBytes(copy + "/ro/inside.txt"), QByteArray("precious"));
    QVERIFY(!QFileInfo(copy + "/ro").isWritable() || ::geteuid() == 0);
    QCOMPARE(seen->folders, 4);
    QCOMPARE(seen->files, 4);
    ::chmod(QFile::encodeName(at("tpl/ro")).constData(), 0755);
    ::chmod(QFile::encodeName(at("work/case001/ro")).constData(), 0755);
    ::chmod(QFile::encodeName(copy + "/ro").constData(), 0755);
#else
    QCOMPARE(seen->folders, 3);
    QCOMPARE(seen->files, 2);
#endif
}

void TestFolderTemplate::foldersOnlyAndExistingFolders()
{
    makeTemplate();
    QVERIFY(QDir().mkpath(at("work/case002")));
    useTemplate(true);
    createRun(2);
    QVERIFY(QFileInfo(at("work/case001/01_受付/メモ")).isDir());
    QVERIFY(!QFileInfo::exists(at("work/case001/checklist.txt")));
    QVERIFY(!QFileInfo::exists(at("work/case001/01_受付/form.txt")));
    QCOMPARE(m_events.of(at("work/case001"))->notCopied.size(), 0);
    // A folder that was there already gets nothing.
    QCOMPARE(QDir(at("work/case002")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
    QCOMPARE(m_events.of(at("work/case002"))->outcome, FolderOutcome::Existing);
}

void TestFolderTemplate::changesDuringTheCopy_data()
{
    QTest::addColumn<QString>("entry");  // the template entry whose turn it is
    QTest::addColumn<QString>("change"); // what happens right then
    QTest::addColumn<QString>("code");   // what the copy says of it

    QTest::newRow("a file grows") << "checklist.txt"
                                  << "grow"
                                  << "template_changed";
    QTest::newRow("a file goes") << "checklist.txt"
                                 << "remove"
                                 << "template_changed";
    QTest::newRow("the name is taken in the new folder") << "checklist.txt"
                                                         << "take"
                                                         << "exists";
#ifndef Q_OS_WIN
    QTest::newRow("a file becomes a link out") << "checklist.txt"
                                               << "link"
                                               << "template_changed";
    QTest::newRow("a folder becomes a link out") << "02_見積"
                                                 << "link"
                                                 << "template_changed";
#endif
}

void TestFolderTemplate::changesDuringTheCopy()
{
    QFETCH(QString, entry);
    QFETCH(QString, change);
    QFETCH(QString, code);
    makeTemplate();
    QVERIFY(makeFile(at("tpl/02_見積/price.txt"), "100"));
    useTemplate();
    const QString source = at("tpl/" + entry);
    const QString target = at("work/case001/" + entry);
    bool done = false;
    m_fs.setCopyHook([&](const QString& path) {
        if (path != entry || done)
            return;
        done = true;
        if (change == "grow") {
            appendTo(source, "more");
        } else if (change == "remove") {
            QFile::remove(source);
        } else if (change == "take") {
            putBytes(target, "mine");
        } else if (change == "link") {
            QDir(source).removeRecursively();
            QFile::remove(source);
            QFile::link(at("outside"), source);
        }
    });
    createRun(1);
    QVERIFY(done);
    const Recorder::Seen* seen = m_events.of(at("work/case001"));
    QVERIFY(seen);
    QCOMPARE(codeOf(seen->notCopied, entry), code);
    if (change == "take")
        QCOMPARE(fileBytes(target), QByteArray("mine"));
    else
        QVERIFY(!QFileInfo::exists(target) && !QFileInfo(target).isSymLink());
    // Nothing from outside the template arrives, whatever stood in for an entry.
    QVERIFY(!QFileInfo::exists(at("work/case001/" + entry + "/secret.txt")));
    // The rest of the template still arrives.
    QCOMPARE(fileBytes(at("work/case001/01_受付/form.txt")), QByteArray(100000, 'x'));
    QVERIFY(!m_prompter.shown.isEmpty()); // said at the end of the run
}

void TestFolderTemplate::refusedBeforeAnything_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("said"); // a part of the box's text

    QTest::newRow("too many entries") << "many"
                                      << "項目が多すぎます";
    QTest::newRow("too large") << "large"
                               << "大きすぎます";
    QTest::newRow("too deep") << "deep"
                              << "階層が深すぎます";
    QTest::newRow("no such folder") << "missing"
                                    << "読み取れません";
    QTest::newRow("the target inside the template") << "targetInside"
                                                    << "の中にはフォルダを";
    QTest::newRow("the template inside the target") << "templateInside"
                                                    << "テンプレートは作成先の";
    QTest::newRow("no room on the volume") << "full"
                                           << "の空きは";
}

void TestFolderTemplate::refusedBeforeAnything()
{
    QFETCH(QString, setup);
    QFETCH(QString, said);
    QString target = at("work");
    QString folder = at("tpl");
    QVERIFY(QDir().mkpath(at("tpl")));
    if (setup == "many") {
        for (int i = 0; i <= int(TemplateBound::Entries); ++i)
            QVERIFY(putBytes(at(QStringLiteral("tpl/f%1").arg(i)), QByteArray()));
    } else if (setup == "large") {
        QFile f(at("tpl/big.bin"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(TemplateBound::Bytes + 1));
    } else if (setup == "deep") {
        QString deep = "tpl";
        for (int i = 0; i <= TemplateBound::Depth; ++i)
            deep += "/d";
        QVERIFY(QDir().mkpath(at(deep)));
    } else if (setup == "missing") {
        folder = at("nothing");
    } else if (setup == "targetInside") {
        target = at("tpl/work");
    } else if (setup == "templateInside") {
        folder = at("work/tpl");
        QVERIFY(QDir().mkpath(folder));
    } else if (setup == "full") {
        QVERIFY(makeFile(at("tpl/a.bin"), QByteArray(1000, 'a')));
        m_fs.free = 2999; // three copies need 3000
    }
    m_options.setFolderTemplate({folder, false});
    CountingRun run;
    SeriesEngine(*m_steps).createSeries({target + QDir::separator(), "case", "", 1, 3, 3, true},
                                        run);
    QCOMPARE(m_prompter.shown.size(), 1);
    QVERIFY2(m_prompter.shown.front().text.contains(said),
             qPrintable(m_prompter.shown.front().text));
    QVERIFY(!QFileInfo::exists(target + "/case001"));
    if (setup != "templateInside")
        QVERIFY(!QFileInfo::exists(target));
    QVERIFY(m_events.events.isEmpty());
}

void TestFolderTemplate::cancelStopsAtTheNextEntry()
{
    makeTemplate();
    useTemplate();
    CountingRun run;
    // The first yields belong to the run's own steps; one inside the first copy cancels.
    run.cancelAtYield = 4;
    createRun(3, &run);
    const Recorder::Seen* seen = m_events.of(at("work/case001"));
    QVERIFY(seen);
    QVERIFY(!seen->notCopied.isEmpty());
    QCOMPARE(QString::fromLatin1(seen->notCopied.back().why.code), QString("cancelled"));
    QVERIFY(!QFileInfo::exists(at("work/case002")));
}

void TestFolderTemplate::fullVolumeStopsTheRun()
{
    makeTemplate();
    useTemplate();
    m_fs.room = 2;
    createRun(3);
    const Recorder::Seen* seen = m_events.of(at("work/case001"));
    QVERIFY(seen);
    QCOMPARE(seen->outcome, FolderOutcome::Created);
    QVERIFY(!seen->notCopied.isEmpty());
    QCOMPARE(QString::fromLatin1(seen->notCopied.back().why.code), QString("no_space"));
    QVERIFY(!QFileInfo::exists(at("work/case002")));
    QVERIFY(m_prompter.shown.back().text.contains("空きが足りなくなった"));
    // What did arrive is on record as copied: the undo takes the folder back whole.
    m_fs.room = -1;
    newSteps();
    m_steps->undoLast();
    QVERIFY(!QFileInfo::exists(at("work/case001")));
}

void TestFolderTemplate::undoTakesBackOnlyAsCopied_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("taken"); // case001 goes to the trash

    QTest::newRow("untouched") << "none" << true;
    QTest::newRow("a file written") << "write" << false;
    QTest::newRow("a file added deep inside") << "add" << false;
    QTest::newRow("a file removed") << "remove" << false;
    QTest::newRow("a file filled while the undo runs") << "during" << false;
}

void TestFolderTemplate::undoTakesBackOnlyAsCopied()
{
    QFETCH(QString, change);
    QFETCH(bool, taken);
    makeTemplate();
    useTemplate();
    createRun(2);
    const QString form = at("work/case001/01_受付/form.txt");
    if (change == "write")
        QVERIFY(appendTo(form, "user's"));
    else if (change == "add")
        QVERIFY(makeFile(at("work/case001/01_受付/メモ/note.txt"), "user's"));
    else if (change == "remove")
        QVERIFY(QFile::remove(form));
    else if (change == "during")
        m_fs.setTrashHooks([&](const QString& path) {
            if (path == at("work/case001"))
                appendTo(form, "user's");
        });
    // As after a restart: what the undo knows comes from the journal on disk.
    newSteps();
    m_steps->undoLast();
    QCOMPARE(!QFileInfo::exists(at("work/case001")), taken);
    QVERIFY(!QFileInfo::exists(at("work/case002")));
    if (!taken) {
        const Recorder::Seen* seen = m_events.of(at("work/case001"));
        QVERIFY(seen);
        QCOMPARE(seen->outcome, FolderOutcome::Kept);
        QCOMPARE(seen->code, QString("changed_since_copy"));
        QVERIFY(m_prompter.shown.back().text.contains(at("work/case001")));
        if (change != "remove")
            QVERIFY(fileBytes(form).endsWith("user's") ||
                    QFileInfo::exists(at("work/case001/01_受付/メモ/note.txt")));
    }
}

QTEST_GUILESS_MAIN(TestFolderTemplate)
#include "test_folder_template.moc"
