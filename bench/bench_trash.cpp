// A delete run of 100,000 empty folders with every check in place (the look at each folder
// before the confirmation, its node compared and its contents looked at again as it moves,
// the arrival checked) against a plain C loop making the same system calls for the same
// checks, and against `gio trash`, all into the same temporary trash. Then two series of
// 10,000 folders of one name, so that every item of the second collides, to show that the
// cost per item stays flat.
//
// Usage: bench_trash [count] [same-name count]   (run it from the folder to be measured)
#include "ScriptedPrompter.h"
#include "fileops/Progress.h"
#include "fileservices/FileFolder.h"
#include "run/FolderSteps.h"
#include "settings/Options.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Notes the time at the checkpoints, to show the cost per item as the trash fills.
class CheckpointProgress : public Progress
{
public:
    explicit CheckpointProgress(QList<qsizetype> marks) : m_marks(std::move(marks)) {}
    void start(const QString&, qsizetype) override { m_clock.start(); }
    bool advance(qsizetype done) override
    {
        if (m_marks.contains(done))
            times.insert(done, m_clock.nsecsElapsed());
        return true;
    }
    void finish() override {}
    QMap<qsizetype, qint64> times;

private:
    QList<qsizetype> m_marks;
    QElapsedTimer m_clock;
};

QStringList makeFolders(const QString& base, qsizetype count, bool sameName, const char* prefix)
{
    QStringList paths;
    paths.reserve(count);
    for (qsizetype i = 1; i <= count; ++i) {
        const QString number = QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'));
        const QString name = QLatin1String(prefix);
        const QString path = sameName ? QString(base + u'/' + number + u'/' + name)
                                      : QString(base + u'/' + name + number);
        if (!QDir().mkpath(path)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
            std::exit(2);
        }
        paths << path;
    }
    return paths;
}

qsizetype countIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size();
}

struct Run {
    double seconds = 0;
    QMap<qsizetype, qint64> marks;
};

// The delete run as the window and the command line make it, keeping folders that hold files.
Run viaDeleteRun(const QStringList& paths, const QList<qsizetype>& marks)
{
    ScriptedPrompter prompter; // answers Yes to the one confirmation
    CheckpointProgress progress(marks);
    FileFolder ff(&prompter, &progress);
    Options options;
    FolderSteps steps(ff, prompter, options, hostPathStyle());
    QElapsedTimer clock;
    clock.start();
    steps.startRun(RunKind::Delete);
    const bool ok = steps.deleteFolders(paths);
    Run run{clock.nsecsElapsed() / 1e9, progress.times};
    if (!ok || steps.tally().trashed != paths.size()) {
        std::fprintf(stderr, "the delete run failed\n");
        std::exit(3);
    }
    return run;
}

bool holdsFile(int fd)
{
    alignas(8) char buffer[8192];
    for (;;) {
        const ssize_t got = ::getdents64(fd, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        for (ssize_t at = 0; at < got;) {
            const auto* e = reinterpret_cast<const dirent64*>(buffer + at);
            at += e->d_reclen;
            if (e->d_name[0] != '.' && e->d_type != DT_DIR)
                return true;
        }
    }
}

// The same checks as plain system calls, with nothing around them: the floor for the run.
double viaCLoop(const QStringList& paths, const QString& trash)
{
    std::vector<QByteArray> full;
    for (const QString& p : paths)
        full.push_back(QFile::encodeName(p));
    const QByteArray parent = QFile::encodeName(QFileInfo(paths.front()).path());
    QElapsedTimer clock;
    clock.start();
    struct Seen {
        quint64 ino;
        qint64 modified;
    };
    std::vector<Seen> seen;
    seen.reserve(full.size());
    auto nanos = [](const statx_timestamp& t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; };
    timespec now;
    for (const QByteArray& p : full) { // the look before the confirmation
        const int fd = ::open(p.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        struct statx sx;
        ::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME | STATX_MNT_ID, &sx);
        if (holdsFile(fd))
            std::exit(5);
        ::close(fd);
        ::clock_gettime(CLOCK_REALTIME, &now);
        const bool settled = nanos(sx.stx_mtime) < qint64(now.tv_sec) * 1000000000 - 1000000000;
        seen.push_back({sx.stx_ino, settled ? nanos(sx.stx_mtime) : -1});
    }
    const QByteArray trashDir = QFile::encodeName(trash);
    const int filesFd = ::open(QByteArray(trashDir + "/files").constData(), O_RDONLY | O_DIRECTORY);
    const int infoFd = ::open(QByteArray(trashDir + "/info").constData(), O_RDONLY | O_DIRECTORY);
    const int parentFd = ::open(parent.constData(), O_RDONLY | O_DIRECTORY);
    for (size_t i = 0; i < full.size(); ++i) {
        const QByteArray& p = full[i];
        const char* name = p.constData() + parent.size() + 1;
        struct statx sx;
        ::statx(AT_FDCWD, p.constData(), AT_SYMLINK_NOFOLLOW,
                STATX_BASIC_STATS | STATX_BTIME | STATX_MNT_ID, &sx);
        if (sx.stx_ino != seen[i].ino)
            std::exit(5);
        if (nanos(sx.stx_mtime) != seen[i].modified) { // changed since: looked at again
            const int fd =
                ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            struct statx self;
            ::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS, &self);
            if (holdsFile(fd))
                std::exit(5);
            ::close(fd);
        }
        const QByteArray info = "[Trash Info]\nPath=" + p + "\nDeletionDate=2026-01-01T00:00:00\n";
        const int infoFile = ::openat(infoFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (::write(infoFile, info.constData(), size_t(info.size())) != info.size())
            std::exit(5);
        char self[32];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", infoFile);
        const QByteArray infoName = QByteArray(name) + ".trashinfo";
        if (::linkat(infoFile, "", infoFd, infoName.constData(), AT_EMPTY_PATH) != 0 &&
            ::linkat(AT_FDCWD, self, infoFd, infoName.constData(), AT_SYMLINK_FOLLOW) != 0)
            std::exit(5);
        ::close(infoFile);
        if (::renameat2(parentFd, name, filesFd, name, RENAME_NOREPLACE) != 0)
            std::exit(5);
        ::statx(filesFd, name, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &sx);
    }
    ::fsync(infoFd);
    ::fsync(filesFd);
    ::close(parentFd);
    ::close(filesFd);
    ::close(infoFd);
    return clock.nsecsElapsed() / 1e9;
}

double viaGio(const QStringList& paths, double limitSeconds, qsizetype* done)
{
    constexpr qsizetype Batch = 2000; // keeps each command line bounded
    QElapsedTimer clock;
    clock.start();
    *done = 0;
    for (qsizetype i = 0; i < paths.size(); i += Batch) {
        QStringList args{QStringLiteral("trash")};
        args += paths.mid(i, Batch);
        const int code = QProcess::execute(QStringLiteral("gio"), args);
        if (code != 0) {
            std::fprintf(stderr, "gio trash failed (%d)\n", code);
            std::exit(4);
        }
        *done += qMin(Batch, paths.size() - i);
        if (clock.nsecsElapsed() / 1e9 > limitSeconds)
            break;
    }
    return clock.nsecsElapsed() / 1e9;
}

void printMarks(const char* what, const Run& run)
{
    std::printf("  %s, cost per item by stretch:", what);
    qsizetype from = 0;
    qint64 at = 0;
    for (auto it = run.marks.cbegin(); it != run.marks.cend(); ++it) {
        std::printf("  %lld..%lld: %.1f us", qlonglong(from), qlonglong(it.key()),
                    (it.value() - at) / 1e3 / double(it.key() - from));
        from = it.key();
        at = it.value();
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype count = args.size() > 1 ? args.at(1).toLongLong() : 100'000;
    const qsizetype sameCount = args.size() > 2 ? args.at(2).toLongLong() : 10'000;

    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench_trash-XXXXXX"));
    if (!dir.isValid())
        return 1;
    // gio looks at the home folder's device, so it must exist.
    QDir().mkpath(dir.path() + QStringLiteral("/home"));
    qputenv("HOME", QFile::encodeName(dir.path() + QStringLiteral("/home")));
    // A trash of its own for each, so that none works in a folder the other filled.
    auto useTrash = [&dir](const char* data) -> QString {
        const QString path = dir.path() + QLatin1Char('/') + QLatin1String(data);
        qputenv("XDG_DATA_HOME", QFile::encodeName(path));
        QDir().mkpath(path + QStringLiteral("/Trash/files"));
        QDir().mkpath(path + QStringLiteral("/Trash/info"));
        return path + QStringLiteral("/Trash");
    };
    std::printf("trash in %s\n", qPrintable(dir.path()));

    // Distinct names for each, so none pays for another's collisions.
    const QStringList ours = makeFolders(dir.path() + QStringLiteral("/ours"), count, false, "o");
    const QStringList loop = makeFolders(dir.path() + QStringLiteral("/loop"), count, false, "c");
    const QStringList gio = makeFolders(dir.path() + QStringLiteral("/gio"), count, false, "g");
    ::sync();

    // In turns of a fifth each, the order changing every turn: whoever goes later in a run of
    // this size meets a fuller page cache and slower system calls, so one long go each would
    // measure the order as much as the programs.
    constexpr int Turns = 5;
    const QString trash = useTrash("data");
    const QString loopTrash = useTrash("data-loop");
    const QString gioTrash = useTrash("data-gio");
    double runSeconds = 0, loopSeconds = 0, gioSeconds = 0;
    for (int turn = 0; turn < Turns; ++turn) {
        const qsizetype from = count * turn / Turns, to = count * (turn + 1) / Turns;
        for (int k = 0; k < 3; ++k) {
            ::sync();
            switch ((turn + k) % 3) {
            case 0:
                useTrash("data");
                runSeconds += viaDeleteRun(ours.mid(from, to - from), {}).seconds;
                break;
            case 1:
                loopSeconds += viaCLoop(loop.mid(from, to - from), loopTrash);
                break;
            default: {
                useTrash("data-gio");
                qsizetype done = 0;
                gioSeconds += viaGio(gio.mid(from, to - from), 1e9, &done);
            }
            }
        }
    }
    auto perFolder = [count](double seconds) { return seconds * 1e6 / double(count); };
    std::printf("delete run:          %lld folders in %.3f s, %.1f us per folder (target at most "
                "25 on tmpfs)\n",
                qlonglong(count), runSeconds, perFolder(runSeconds));
    std::printf("C loop, same checks: %lld folders in %.3f s, %.1f us per folder\n",
                qlonglong(count), loopSeconds, perFolder(loopSeconds));
    std::printf("gio trash:           %lld folders in %.3f s, %.1f us per folder\n",
                qlonglong(count), gioSeconds, perFolder(gioSeconds));
    std::printf("ratio delete run / C loop: %.2f (target at most 1.3)\n", runSeconds / loopSeconds);
    std::printf("ratio delete run / gio trash: %.2f (target below 1)\n", runSeconds / gioSeconds);
    const QString trashFiles = trash + QStringLiteral("/files");
    std::printf("items in the three trashes: %lld, %lld, %lld (expected %lld each)\n",
                qlonglong(countIn(trashFiles)),
                qlonglong(countIn(loopTrash + QStringLiteral("/files"))),
                qlonglong(countIn(gioTrash + QStringLiteral("/files"))), qlonglong(count));
    useTrash("data");

    // One name, twice: the second series collides on every item.
    QList<qsizetype> sameMarks;
    for (qsizetype m : {sameCount / 10, sameCount / 2, sameCount})
        sameMarks << m;
    for (int series = 1; series <= 2; ++series) {
        const QStringList same = makeFolders(dir.path() + QStringLiteral("/same%1").arg(series),
                                             sameCount, true, "case001");
        const Run r = viaDeleteRun(same, sameMarks);
        std::printf("delete run, one name, series %d: %lld folders in %.3f s, %.1f us per "
                    "folder\n",
                    series, qlonglong(sameCount), r.seconds, r.seconds * 1e6 / double(sameCount));
        printMarks("one name", r);
    }
    std::printf("items in the trash: %lld (expected %lld)\n", qlonglong(countIn(trashFiles)),
                qlonglong(count + 2 * sameCount));
    return 0;
}
