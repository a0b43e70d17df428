// What the run journal costs a run, against what a run costs without it, in the same run of
// this program (ratios, so that a slow machine measures the same):
//
//   1. deleting one folder after a 100,000-folder creation is on record, against the same delete
//      with an empty journal (nmaker delete, whole processes; target <= 1.2);
//   2. nmaker create of 100,000 folders against a C loop of mkdirat and one statx per folder,
//      each a whole process (target <= 1.15);
//   3. a delete run of 10,000 folders with its journal, against a C loop that makes the same
//      checks: a look at every folder before the confirmation, then for each the parent's
//      statx, a look for contents again, the info file with O_CREAT|O_EXCL,
//      renameat2(RENAME_NOREPLACE) and the arrival's statx (target <= 1.3);
//   4. nmaker list-create of 10,000 lines against xargs mkdir -p (target <= 1.2).
//
// Best of a few rounds each, the order alternating. Every program runs with HOME and XDG_*
// in a scratch folder; the journal and the trash are that folder's.
//
// Usage: bench_journal [folder] [rounds]   (default /dev/shm, a tmpfs, where the program's own
// work shows best; 5 rounds)
#include "ScriptedPrompter.h"
#include "fileservices/FileFolder.h"
#include "run/FolderSteps.h"
#include "settings/Options.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

QString scratch;

QProcessEnvironment scratchEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", scratch + "/home");
    env.insert("XDG_DATA_HOME", scratch + "/home/data");
    env.insert("XDG_STATE_HOME", scratch + "/home/state");
    env.insert("XDG_CONFIG_HOME", scratch + "/home/config");
    env.insert("XDG_CACHE_HOME", scratch + "/home/cache");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    return env;
}

double timed(const QString& program, const QStringList& args, const QByteArray& input = {})
{
    QProcess p;
    p.setProcessEnvironment(scratchEnvironment());
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    if (!p.waitForStarted()) {
        std::fprintf(stderr, "%s did not start\n", qPrintable(program));
        std::exit(1);
    }
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(-1);
    const double seconds = t.nsecsElapsed() / 1e9;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s %s failed: %s\n", qPrintable(program), qPrintable(args.join(' ')),
                     p.readAllStandardError().constData());
        std::exit(1);
    }
    return seconds;
}

QString nmaker()
{
    return QStringLiteral(NMAKER_PROGRAM);
}

QString seriesName(int n)
{
    return QStringLiteral("case%1").arg(n, 5, 10, QLatin1Char('0'));
}

// The floor for a creation: the two system calls a folder needs, nothing else.
int cLoopCreate(const QByteArray& dir, int count)
{
    const int parent = ::open(dir.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    char name[32];
    for (int n = 0; n < count; ++n) {
        std::snprintf(name, sizeof name, "case%05d", n);
        struct statx sx;
        if (::mkdirat(parent, name, 0777) != 0 ||
            ::statx(parent, name, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0)
            return 1;
    }
    ::close(parent);
    return 0;
}

bool holdsAnything(int fd)
{
    alignas(8) char buffer[4096];
    for (;;) {
        const ssize_t got = ::getdents64(fd, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        for (ssize_t at = 0; at < got;) {
            const auto* e = reinterpret_cast<const dirent64*>(buffer + at);
            at += e->d_reclen;
            if (!(e->d_name[0] == '.' &&
                  (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0))))
                return true;
        }
    }
}

// The floor for a delete: the checks the delete run makes, as plain system calls.
double cLoopTrash(const QString& parentPath, const QStringList& names, const QString& trash)
{
    QElapsedTimer clock;
    clock.start();
    const QByteArray parentBytes = QFile::encodeName(parentPath);
    const int parent = ::open(parentBytes.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int files =
        ::open(QFile::encodeName(trash + "/files").constData(), O_RDONLY | O_DIRECTORY);
    const int info = ::open(QFile::encodeName(trash + "/info").constData(), O_RDONLY | O_DIRECTORY);
    std::vector<QByteArray> bytes;
    for (const QString& n : names)
        bytes.push_back(QFile::encodeName(n));
    std::vector<quint64> nodes;
    for (const QByteArray& n : bytes) { // the look before the confirmation
        const int fd = ::openat(parent, n.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
        struct statx sx;
        ::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME | STATX_MNT_ID, &sx);
        if (holdsAnything(fd))
            std::exit(5);
        ::close(fd);
        nodes.push_back(sx.stx_ino);
    }
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char* n = bytes[i].constData();
        struct statx sx;
        ::statx(parent, n, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME | STATX_MNT_ID,
                &sx);
        if (sx.stx_ino != nodes[i])
            std::exit(5);
        // Looked at again for contents right before it moves.
        const int again = ::openat(parent, n, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (again < 0 || holdsAnything(again))
            std::exit(5);
        ::close(again);
        const QByteArray text = "[Trash Info]\nPath=" + parentBytes + '/' + bytes[i] +
                                "\nDeletionDate=2026-01-01T00:00:00\n";
        const QByteArray infoName = bytes[i] + ".trashinfo";
        const int fd =
            ::openat(info, infoName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 || ::write(fd, text.constData(), size_t(text.size())) != text.size())
            std::exit(5);
        ::close(fd);
        if (::renameat2(parent, n, files, n, RENAME_NOREPLACE) != 0)
            std::exit(5);
        ::statx(files, n, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &sx); // arrived
    }
    ::fsync(info);
    ::close(parent);
    ::close(files);
    ::close(info);
    return clock.nsecsElapsed() / 1e9;
}

double viaDeleteRun(const QStringList& paths)
{
    ScriptedPrompter prompter;
    FileFolder fs(&prompter);
    Options options;
    FolderSteps steps(fs, prompter, options, hostPathStyle());
    steps.journal().setPath(RunJournal::defaultPath());
    QElapsedTimer clock;
    clock.start();
    steps.startRun(RunKind::Delete);
    const bool ok = steps.deleteFolders(paths);
    steps.finishRun();
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (!ok || steps.tally().trashed != paths.size()) {
        std::fprintf(stderr, "the delete run failed\n");
        std::exit(3);
    }
    return seconds;
}

void makeFolders(const QString& dir, int count, QStringList* paths = nullptr,
                 QStringList* names = nullptr)
{
    QDir().mkpath(dir);
    for (int n = 0; n < count; ++n) {
        // Names of their own: both go into one trash.
        const QString name = QFileInfo(dir).fileName() + seriesName(n);
        QDir().mkdir(dir + '/' + name);
        if (paths)
            *paths << dir + '/' + name;
        if (names)
            *names << name;
    }
}

void resetHome()
{
    QDir(scratch + "/home").removeRecursively();
    QDir().mkpath(scratch + "/home/data/Trash/files");
    QDir().mkpath(scratch + "/home/data/Trash/info");
}

void report(const char* what, double ours, double theirs, const char* reference, double target)
{
    std::printf("%-44s %.4f s, %s %.4f s, ratio %.2f (target <= %.2f)%s\n", what, ours, reference,
                theirs, ours / theirs, target, ours / theirs <= target ? "" : "  MISSED");
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && std::strcmp(argv[1], "--c-loop") == 0)
        return cLoopCreate(argv[2], std::atoi(argv[3]));
    QCoreApplication app(argc, argv);
    const QString where = argc > 1                             ? QString::fromLocal8Bit(argv[1])
                          : QFileInfo("/dev/shm").isWritable() ? QStringLiteral("/dev/shm")
                                                               : QDir::currentPath();
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir dir(where + QStringLiteral("/bench-journal-XXXXXX"));
    scratch = dir.path();
    // The benchmark's own runs use the scratch home too.
    qputenv("HOME", QFile::encodeName(scratch + "/home"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(scratch + "/home/data"));
    qputenv("XDG_STATE_HOME", QFile::encodeName(scratch + "/home/state"));
    std::printf("in %s, best of %d\n", qPrintable(scratch), rounds);
    bool met = true;
    auto check = [&met](double ratio, double target) { met = met && ratio <= target; };

    // 1. One folder deleted, with and without a big creation on record.
    {
        const QString w = scratch + "/one";
        auto deleteOne = [&] {
            QDir().mkpath(w + "/case00001");
            return timed(nmaker(), {"delete", "--target", w, "--prefix", "case", "--first", "1",
                                    "--last", "1", "--digits", "5", "-q"});
        };
        double empty = 1e9, after = 1e9;
        resetHome();
        timed(nmaker(), {"create", "--target", scratch + "/big", "--prefix", "case", "--first", "0",
                         "--last", "99999", "--digits", "5", "-q"});
        const qint64 journalSize = QFileInfo(scratch + "/home/state/NMaker/journal").size();
        for (int r = 0; r < rounds; ++r) {
            // The creation stays the last one on record: only deletions come after it.
            after = std::min(after, deleteOne());
        }
        for (int r = 0; r < rounds; ++r) {
            QFile::remove(scratch + "/home/state/NMaker/journal");
            empty = std::min(empty, deleteOne());
        }
        std::printf("(journal with the 100,000-folder creation: %.1f MB)\n", journalSize / 1e6);
        report("1. delete 1 after a 100,000 creation", after, empty, "empty journal", 1.2);
        check(after / empty, 1.2);
        QDir(scratch + "/big").removeRecursively();
    }

    // 2. A creation of 100,000 against the system calls alone; nmaker-cli beside nmaker,
    // which loads Qt's Gui and Widgets before it knows that it runs a command.
    {
        double ours = 1e9, cli = 1e9, loop = 1e9;
        const QString self = QCoreApplication::applicationFilePath();
        const QString nmakerCli = QFileInfo(nmaker()).absolutePath() + "/nmaker-cli";
        for (int r = 0; r < 2 * rounds; ++r) {
            for (int turn = 0; turn < 3; ++turn) {
                resetHome();
                const QString target = scratch + "/create";
                QDir().mkpath(target);
                const QStringList args{"create", "--target", target,  "--prefix", "case", "--first",
                                       "0",      "--last",   "99999", "--digits", "5",    "-q"};
                switch ((turn + r) % 3) {
                case 0:
                    ours = std::min(ours, timed(nmaker(), args));
                    break;
                case 1:
                    cli = std::min(cli, timed(nmakerCli, args));
                    break;
                default:
                    loop = std::min(loop, timed(self, {"--c-loop", target, "100000"}));
                }
                QDir(target).removeRecursively();
            }
        }
        report("2. create 100,000 (nmaker)", ours, loop, "C mkdirat+statx", 1.15);
        report("   create 100,000 (nmaker-cli)", cli, loop, "C mkdirat+statx", 1.15);
        check(std::min(ours, cli) / loop, 1.15);
    }

    // 3. A delete run of 10,000, journal and all, against the same checks in C.
    {
        double ours = 1e9, loop = 1e9;
        for (int r = 0; r < 2 * rounds; ++r) {
            resetHome();
            QStringList paths, names;
            makeFolders(scratch + "/ours", 10000, &paths);
            makeFolders(scratch + "/loop", 10000, nullptr, &names);
            ::sync();
            if (r % 2 == 0) {
                ours = std::min(ours, viaDeleteRun(paths));
                loop = std::min(loop,
                                cLoopTrash(scratch + "/loop", names, scratch + "/home/data/Trash"));
            } else {
                loop = std::min(loop,
                                cLoopTrash(scratch + "/loop", names, scratch + "/home/data/Trash"));
                ours = std::min(ours, viaDeleteRun(paths));
            }
        }
        report("3. trash 10,000", ours, loop, "C same checks", 1.3);
        check(ours / loop, 1.3);
    }

    // 4. A list of 10,000 lines against xargs mkdir -p.
    {
        QByteArray list;
        const QString base = scratch + "/list";
        for (int n = 0; n < 10000; ++n)
            list +=
                QFile::encodeName(base + QStringLiteral("/p%1/").arg(n / 1000) + seriesName(n)) +
                '\n';
        QFile file(scratch + "/list.txt");
        file.open(QIODevice::WriteOnly);
        file.write(list);
        file.close();
        double ours = 1e9, xargs = 1e9;
        for (int r = 0; r < rounds; ++r) {
            for (int turn = 0; turn < 2; ++turn) {
                resetHome();
                if ((turn == 0) == (r % 2 == 0))
                    ours = std::min(ours, timed(nmaker(), {"list-create", file.fileName(), "-q"}));
                else
                    xargs = std::min(xargs, timed("xargs", {"mkdir", "-p"}, list));
                QDir(base).removeRecursively();
            }
        }
        report("4. list-create 10,000 lines", ours, xargs, "xargs mkdir -p", 1.2);
        check(ours / xargs, 1.2);
    }
    return met ? 0 : 1;
}
