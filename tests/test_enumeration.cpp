#include "fileservices/FileFolder.h"
#include "fileservices/FolderEnumeration.h"

#include "ScriptedPrompter.h"
#include "Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#ifdef Q_OS_WIN
#include <windows.h>
#endif
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

// The order of the members in these tables; the all-levels ones have even numbers.
enum Member { SFolderPath, GetFolder, SFilePath, GetFile, SFileFolderPath, GetFileFolder };
using Call = QStringList (FolderEnumeration::*)(const QString&);
const Call Calls[] = {&FolderEnumeration::sFolderPath,     &FolderEnumeration::getFolder,
                      &FolderEnumeration::sFilePath,       &FolderEnumeration::getFile,
                      &FolderEnumeration::sFileFolderPath, &FolderEnumeration::getFileFolder};
// Where each member's counters stand among the eight of countersOf().
const QList<QList<int>> Slots{{0}, {1}, {2}, {3}, {4, 5}, {6, 7}};

QList<int> countersOf(const FolderEnumeration& e)
{
    return {e.sFolderPathCount(),  e.folderPathCount(), e.sFilePathCount(),   e.filePathCount(),
            e.bsFolderPathCount(), e.bsFilePathCount(), e.bFolderPathCount(), e.bFilePathCount()};
}

QList<QStringList> keptOf(const FolderEnumeration& e)
{
    return {e.sFolderPathList(), e.sFilePathList(), e.sFileFolderPathList()};
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// Empty when every folder's contents form one block, right after the folder's own entry when
// it is listed; siblings may come in any order.
QString preOrderFault(const QStringList& list)
{
    QSet<QString> folders;
    for (const QString& e : list) {
        for (qsizetype k = e.indexOf('/'); k >= 0 && k + 1 < e.size(); k = e.indexOf('/', k + 1))
            folders.insert(e.left(k + 1));
    }
    for (const QString& folder : folders) {
        qsizetype first = -1, last = -1, count = 0;
        for (qsizetype i = 0; i < list.size(); ++i) {
            if (list[i].startsWith(folder) && list[i] != folder) {
                first = first < 0 ? i : first;
                last = i;
                ++count;
            }
        }
        const qsizetype own = std::max(list.indexOf(folder), list.indexOf(folder.chopped(1)));
        if (last - first + 1 != count || (own >= 0 && own + 1 != first))
            return folder + " and its contents are out of order: " + list.join(' ');
    }
    return {};
}

// Runs one member on a fresh instance; empty when everything it leaves is as expected.
QString fault(int member, const QString& path, const QStringList& expected,
              const QList<int>& counters)
{
    ScriptedPrompter prompter;
    HostFileSystem host(&prompter);
    FolderEnumeration e(host);
    const QStringList list = (e.*Calls[member])(path);
    if (sorted(list) != sorted(expected))
        return "listed " + list.join(' ');
    if (member % 2 == 0 && keptOf(e)[member / 2] != list)
        return "kept " + keptOf(e)[member / 2].join(' ');
    if (countersOf(e) != counters)
        return "counters differ";
    if (!prompter.shown.isEmpty())
        return "a box was shown";
    return preOrderFault(list);
}

// Words such as "dir:a/b", "file:a/x.txt", "link:l->target".
void build(const QString& root, const QString& setup)
{
    for (const QString& word : setup.split(' ')) {
        const QString kind = word.section(':', 0, 0);
        const QString rest = word.section(':', 1);
        if (kind == "link")
            QVERIFY(QFile::link(rest.section("->", 1), root + '/' + rest.section("->", 0, 0)));
        else
            QVERIFY(QDir(root).mkpath(kind == "dir" ? rest : QFileInfo(rest).path()));
        if (kind == "file")
            QVERIFY(QFile(root + '/' + rest).open(QIODevice::WriteOnly));
    }
}

// A chain of folders "d" with a file "f" at the bottom, built relative to descriptors because
// its paths are too long for the path calls.
void buildChain(const QString& root, int depth)
{
#ifndef Q_OS_UNIX
    // The long form, which has no length limit.
    QString deepest = "\\\\?\\" + QDir::toNativeSeparators(root);
    for (int i = 0; i < depth; ++i) {
        deepest += "\\d";
        QVERIFY(::CreateDirectoryW(reinterpret_cast<const wchar_t*>(deepest.utf16()), nullptr));
    }
    const QString file = deepest + "\\f";
    const HANDLE f = ::CreateFileW(reinterpret_cast<const wchar_t*>(file.utf16()), GENERIC_WRITE, 0,
                                   nullptr, CREATE_NEW, 0, nullptr);
    QVERIFY(f != INVALID_HANDLE_VALUE);
    ::CloseHandle(f);
#else
    int fd = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < depth && fd >= 0; ++i) {
        const int next = ::mkdirat(fd, "d", 0755) == 0 ? ::openat(fd, "d", O_RDONLY) : -1;
        ::close(fd);
        fd = next;
    }
    QVERIFY(fd >= 0);
    ::close(::openat(fd, "f", O_CREAT | O_WRONLY, 0644));
    ::close(fd);
#endif
}

const QString Tree = "dir:a/b file:a/x.txt file:a/b/y.txt dir:c dir:.hid file:.hidden file:top.txt";

void row(const char* tag, const QString& setup, int member, const QString& path,
         const QString& expected, const QList<int>& counters)
{
    QTest::newRow(tag) << setup << member << path << expected << counters;
}

} // namespace

class TestEnumeration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void entries_data();
    void entries();
    void missingFolder_data();
    void missingFolder();
    void treeDeeperThanPathMax();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root;
};

void TestEnumeration::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Paths come back in the host's own form, so the rows are written in it too.
    m_root = QDir::toNativeSeparators(m_dir->path());
}

void TestEnumeration::entries_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("member");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected"); // "@" is the temporary folder
    QTest::addColumn<QList<int>>("counters");

    const QString all = "@/ @/a/ @/a/x.txt @/a/b/ @/a/b/y.txt @/c/ @/.hid/ @/.hidden @/top.txt";
    row("sFolderPath", Tree, SFolderPath, "@", "@ @/a @/a/b @/c @/.hid", {5});
    row("getFolder", Tree, GetFolder, "@", "@/a @/c @/.hid", {3});
    row("sFilePath", Tree, SFilePath, "@", "@/a/x.txt @/a/b/y.txt @/.hidden @/top.txt", {4});
    row("getFile", Tree, GetFile, "@", "@/.hidden @/top.txt", {2});
    row("sFileFolderPath", Tree, SFileFolderPath, "@", all, {5, 4});
    row("getFileFolder", Tree, GetFileFolder, "@", "@/a/ @/c/ @/.hid/ @/.hidden @/top.txt", {3, 2});
    row("trailing separator", Tree, SFileFolderPath, "@/", all, {5, 4});
    row("two trailing separators", Tree, SFolderPath, "@//", "@ @/a @/a/b @/c @/.hid", {5});
    row("file's path", Tree, SFolderPath, "@/a/x.txt", "@/a @/a/b", {2});
    row("file's path, one level", Tree, GetFile, "@/a/b/y.txt", "@/a/b/y.txt", {1});
    row("no subfolders", Tree, SFolderPath, "@/a/b", "@/a/b", {1});
    row("no subfolders, one level", Tree, GetFolder, "@/a/b", "", {0});
    row("empty, files", Tree, SFilePath, "@/c", "", {0});
    row("empty, both", Tree, SFileFolderPath, "@/c/", "@/c/", {1, 0});
#ifdef Q_OS_UNIX
    // Links to folders need a privilege on Windows; QFile::link makes shortcut files there.
    row("start through a link", "file:real/sub/f link:l->real", SFileFolderPath, "@/l",
        "@/l/ @/l/sub/ @/l/sub/f", {2, 1});

    // Links to folders are folders that are never entered, so a loop ends.
    const QString links = "file:a/f link:a/up->.. link:a/self->. link:a/side->../c "
                          "link:a/tofile->f link:a/dangling->none file:c/in";
    row("links, folders", links, SFolderPath, "@", "@ @/a @/a/up @/a/self @/a/side @/c", {6});
    row("links, both", links, SFileFolderPath, "@",
        "@/ @/a/ @/a/f @/a/up/ @/a/self/ @/a/side/ @/a/tofile @/a/dangling @/c/ @/c/in", {6, 4});
#endif

    // Rows named "locked" run as an ordinary user with the folder "locked" unreadable.
    const QString locked = "file:open/x.txt dir:locked/sub file:locked/in.txt file:z.txt";
    row("locked, both", locked, SFileFolderPath, "@", "@/ @/open/ @/open/x.txt @/locked/ @/z.txt",
        {3, 2});
    row("locked, folders", locked, SFolderPath, "@", "@ @/open @/locked", {3});
    row("locked start", locked, GetFile, "@/locked", "", {0});

    // Several siblings on every level, to show the order of a walk.
    const QString wide = "file:p/s/x file:p/s/y file:p/t/x file:p/z file:q/s/x file:q/z file:w";
    row("order, both", wide, SFileFolderPath, "@",
        "@/ @/p/ @/p/s/ @/p/s/x @/p/s/y @/p/t/ @/p/t/x @/p/z @/q/ @/q/s/ @/q/s/x @/q/z @/w",
        {6, 7});
    row("order, files", wide, SFilePath, "@", "@/p/s/x @/p/s/y @/p/t/x @/p/z @/q/s/x @/q/z @/w",
        {7});

    // The root keeps its one separator.
    const QString top = QDir::toNativeSeparators(QDir::rootPath());
    QStringList root;
    for (const QString& name :
         QDir(top).entryList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        root << top + name;
    // One a line: Windows' names hold blanks ("Program Files").
    row("root", "dir:unused", GetFolder, top, root.join('\n'), {int(root.size())});
}

void TestEnumeration::entries()
{
    QFETCH(QString, setup);
    QFETCH(int, member);
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QFETCH(QList<int>, counters);
    build(m_root, setup);
    path = QDir::toNativeSeparators(path.replace('@', m_root));
    const QChar listSep = expected.contains('\n') ? '\n' : ' ';
    const QStringList want = QDir::toNativeSeparators(expected.replace('@', m_root)).split(listSep);
    QList<int> wantCounters(8, -1);
    for (qsizetype i = 0; i < counters.size(); ++i)
        wantCounters[Slots[member][i]] = counters[i];
    if (!QByteArray(QTest::currentDataTag()).startsWith("locked")) {
        QCOMPARE(fault(member, path, want, wantCounters), QString());
        return;
    }

#ifndef Q_OS_UNIX
    // Only an access-control list locks a folder there, and Wine enforces none.
    QSKIP("no unreadable folder without POSIX permissions");
#else
    // The child may be another user: the way to the tree must be open to it.
    const QByteArray locked = QFile::encodeName(m_root + "/locked");
    QVERIFY(::chmod(QFile::encodeName(m_root).constData(), 0755) == 0);
    QVERIFY(::chmod(locked.constData(), 0) == 0);
    const int code = runUnprivileged([&] {
        const QString f = fault(member, path, want, wantCounters);
        if (!f.isEmpty())
            qWarning("%s", qPrintable(f));
        return f.isEmpty() ? 0 : 1;
    });
    ::chmod(locked.constData(), 0755);
    if (code < 0)
        QSKIP("cannot run as an ordinary user here");
    QCOMPARE(code, 0);
#endif
}

void TestEnumeration::missingFolder_data()
{
    QTest::addColumn<int>("member");
    QTest::addColumn<QString>("path");

    QTest::newRow("sFolderPath") << int(SFolderPath) << "@/missing";
    QTest::newRow("getFolder") << int(GetFolder) << "@/missing/";
    QTest::newRow("sFilePath") << int(SFilePath) << "@/missing/x.txt";
    QTest::newRow("getFile") << int(GetFile) << "";
    QTest::newRow("sFileFolderPath") << int(SFileFolderPath) << "relative";
    QTest::newRow("getFileFolder") << int(GetFileFolder) << "@/missing";
    // A hidden file does not count as a file, so it has no folder either.
    QTest::newRow("hidden file's path") << int(SFolderPath) << "@/.hidden";
}

void TestEnumeration::missingFolder()
{
    QFETCH(int, member);
    QFETCH(QString, path);
    build(m_root, Tree);
    ScriptedPrompter prompter;
    HostFileSystem host(&prompter);
    FolderEnumeration e(host);
    for (const Call call : Calls)
        (e.*call)(m_root);
    QList<int> counters = countersOf(e);
    QList<QStringList> kept = keptOf(e);
    for (int slot : Slots[member])
        counters[slot] = -1;
    if (member % 2 == 0)
        kept[member / 2] = QStringList{""};

    QCOMPARE((e.*Calls[member])(path.replace('@', m_root)), QStringList{""});
    QCOMPARE(countersOf(e), counters);
    QVERIFY(keptOf(e) == kept);
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown[0].number, -1);
    QCOMPARE(prompter.shown[0].text, QString("指定されたフォルダが存在しません"));
    QCOMPARE(prompter.shown[0].style, 0);
    host.setPrompter(nullptr);
    QCOMPARE((e.*Calls[member])(path), QStringList{""});
}

void TestEnumeration::treeDeeperThanPathMax()
{
#ifdef Q_OS_UNIX
    constexpr int depth = 3000;
#else
    // Past the 260-character limit many times over; Wine walks each path from its root.
    constexpr int depth = 200;
#endif
    // rm walks relative to descriptors too; QDir's removal would stop at the long paths.
#ifdef Q_OS_UNIX
    const auto cleanup = qScopeGuard([&] { QProcess::execute("rm", {"-rf", m_root}); });
    const qsizetype longPath = PATH_MAX;
#else
    // Qt takes its long-path prefix by itself there.
    const auto cleanup = qScopeGuard([&] { QDir(m_root).removeRecursively(); });
    const qsizetype longPath = 260;
#endif
    buildChain(m_root, depth);
    build(m_root, "file:e/x");
    const QString sep = QDir::separator();
    QString deepest = m_root;
    for (int i = 0; i < depth; ++i)
        deepest += sep + "d";
    QVERIFY(deepest.size() > longPath);

    HostFileSystem host;
    FolderEnumeration e(host);
#ifdef Q_OS_UNIX
    rlimit saved;
    QVERIFY(::getrlimit(RLIMIT_NOFILE, &saved) == 0);
#endif
#ifdef Q_OS_LINUX
    // A few descriptors beyond those open now: one per level would run out at once.
    rlimit low = saved;
    low.rlim_cur = rlim_t(QDir("/proc/self/fd").count() + 8);
    QVERIFY(::setrlimit(RLIMIT_NOFILE, &low) == 0);
#endif
    const QStringList folders = e.sFolderPath(m_root);
    const QStringList files = e.sFilePath(m_root);
#ifdef Q_OS_UNIX
    ::setrlimit(RLIMIT_NOFILE, &saved);
#endif

    QCOMPARE(e.sFolderPathCount(), depth + 2);
    QCOMPARE(folders.size(), depth + 2);
    QCOMPARE(folders.indexOf(deepest), folders.indexOf(deepest.chopped(2)) + 1);
    QCOMPARE(sorted(files), sorted({deepest + sep + "f", m_root + sep + "e" + sep + "x"}));
}

QTEST_GUILESS_MAIN(TestEnumeration)
#include "test_enumeration.moc"
