// The command line against the shell tools a script would use instead: `nmaker create` of
// 100,000 folders against `xargs mkdir` with the same names (target: within 1.1x), and
// `nmaker expand` of [00000-99999] against `seq -w` piped through sed. Best of a few rounds,
// whole processes timed: wall clock, and the processor time the kernel charged them (steadier
// on a busy machine). Arguments: count, rounds, folder to create in (default: the current one;
// a tmpfs such as /dev/shm shows the program's own overhead best).
#include "ScratchHome.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include <sys/resource.h>

namespace
{

struct Times {
    double wall = 1e9;
    double cpu = 1e9; // user + system
    void keepBest(const Times& t)
    {
        wall = std::min(wall, t.wall);
        cpu = std::min(cpu, t.cpu);
    }
};

double childCpu()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(u.ru_utime) + seconds(u.ru_stime);
}

// From start to exit; `input` goes to its stdin, stdout is thrown away.
Times timed(const QString& program, const QStringList& args, const QString& dir,
            const QByteArray& input = {})
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setStandardOutputFile(QProcess::nullDevice());
    const double cpuBefore = childCpu();
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
    const Times times{t.nsecsElapsed() / 1e9, childCpu() - cpuBefore};
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     p.readAllStandardError().constData());
        std::exit(1);
    }
    return times;
}

int countFolders(const QString& path)
{
    return int(QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

void report(const char* what, const Times& ours, const Times& theirs, const char* reference)
{
    std::printf("%-22s wall: nmaker %.3f s, %s %.3f s, ratio %.2f\n", what, ours.wall, reference,
                theirs.wall, ours.wall / theirs.wall);
    std::printf("%-22s cpu:  nmaker %.3f s, %s %.3f s, ratio %.2f\n", "", ours.cpu, reference,
                theirs.cpu, ours.cpu / theirs.cpu);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir scratchHome;
    useScratchHome(scratchHome.path());
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    const QString nmaker = QStringLiteral(NMAKER_PROGRAM);
    const QString last = QString::number(count - 1);
    const QString where = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QDir::currentPath();

    // The very paths nmaker creates, so both make the kernel walk the same names.
    auto namesIn = [count](const QString& dir) {
        QByteArray names;
        for (int n = 0; n < count; ++n)
            names += (dir + QStringLiteral("/case%1\n").arg(n, 5, 10, QLatin1Char('0'))).toUtf8();
        return names;
    };

    Times ours, theirs;
    for (int r = 0; r < rounds; ++r) {
        // Alternate who goes first, so neither always meets a warmer disk.
        for (int turn = 0; turn < 2; ++turn) {
            QTemporaryDir dir(where + QStringLiteral("/bench-cli-XXXXXX"));
            if ((turn == 0) == (r % 2 == 0)) {
                ours.keepBest(
                    timed(nmaker,
                          {QStringLiteral("create"), QStringLiteral("--target"), dir.path(),
                           QStringLiteral("--prefix"), QStringLiteral("case"),
                           QStringLiteral("--first"), QStringLiteral("0"), QStringLiteral("--last"),
                           last, QStringLiteral("--digits"), QStringLiteral("5")},
                          dir.path()));
            } else {
                theirs.keepBest(timed(QStringLiteral("xargs"), {QStringLiteral("mkdir")},
                                      dir.path(), namesIn(dir.path())));
            }
            if (countFolders(dir.path()) != count) {
                std::fprintf(stderr, "wrong folder count\n");
                return 1;
            }
        }
    }
    report("create (folders)", ours, theirs, "xargs mkdir");

    QTemporaryDir dir;
    QFile list(dir.filePath(QStringLiteral("list.txt")));
    if (!list.open(QIODevice::WriteOnly) || list.write("/tmp/x/case[00000-99999]\r\n") < 0)
        return 1;
    list.close();
    Times expand, shell;
    for (int r = 0; r < rounds * 2; ++r) {
        expand.keepBest(timed(nmaker, {QStringLiteral("expand"), list.fileName()}, dir.path()));
        shell.keepBest(
            timed(QStringLiteral("sh"),
                  {QStringLiteral("-c"), QStringLiteral("seq -w 0 99999 | sed 's|^|/tmp/x/case|'")},
                  dir.path()));
    }
    report("expand [00000-99999]", expand, shell, "seq | sed");
    return 0;
}
