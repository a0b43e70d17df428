// `nmaker expand --extended` against its targets, whole processes measured by /usr/bin/time:
// [0-99999]/[0-99] (10,000,000 entries) refused at once with exit 2 under 50 MB peak memory,
// and [0-999]/[0-999] (1,000,000 entries) expanded in under 1.5 s. Best of a few rounds.
// Beside them, the same million held by an import, as the list window reads it.
// Argument: rounds (default 3).
#include "ScratchHome.h"
#include "folderlist/ListFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace
{

struct Measured {
    int exit = -1;
    double seconds = 0;
    double megabytes = 0;
    qint64 lines = 0;
};

// The program under /usr/bin/time: its exit status, wall clock, peak memory and output lines.
Measured measure(const QString& list)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/time"),
            {QStringLiteral("-f"), QStringLiteral("@@ %e %M"), QStringLiteral(NMAKER_PROGRAM),
             QStringLiteral("expand"), QStringLiteral("--extended"), list});
    Measured m;
    if (!p.waitForStarted()) {
        std::fprintf(stderr, "/usr/bin/time did not start\n");
        std::exit(1);
    }
    while (p.state() != QProcess::NotRunning) {
        p.waitForReadyRead(100);
        m.lines += p.readAllStandardOutput().count('\n');
    }
    m.lines += p.readAllStandardOutput().count('\n');
    m.exit = p.exitCode();
    const QList<QByteArray> err = p.readAllStandardError().split('\n');
    for (const QByteArray& line : err) {
        if (line.startsWith("@@ ")) {
            const QList<QByteArray> f = line.split(' ');
            m.seconds = f.value(1).toDouble();
            m.megabytes = f.value(2).toDouble() / 1024.0;
        }
    }
    return m;
}

QString writeList(const QTemporaryDir& dir, const char* name, const QByteArray& line)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(line) != line.size())
        std::exit(1);
    return path;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir scratchHome;
    useScratchHome(scratchHome.path());
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    QTemporaryDir dir;
    const QString huge = writeList(dir, "huge.txt", "/tmp/x/[0-99999]/[0-99]\r\n");
    const QString million = writeList(dir, "million.txt", "/tmp/x/[0-999]/[0-999]\r\n");

    Measured refused{-1, 1e9, 1e9, 0};
    Measured expanded{-1, 1e9, 1e9, 0};
    for (int r = 0; r < rounds; ++r) {
        const Measured a = measure(huge);
        if (a.seconds < refused.seconds)
            refused = a;
        const Measured b = measure(million);
        if (b.seconds < expanded.seconds)
            expanded = b;
    }
    std::printf("[0-99999]/[0-99] refused  exit %d, %.2f s, peak %.1f MB (target: exit 2, under "
                "50 MB)\n",
                refused.exit, refused.seconds, refused.megabytes);
    std::printf("[0-999]/[0-999] expanded  exit %d, %lld lines, %.2f s, peak %.1f MB (target: "
                "under 1.5 s)\n",
                expanded.exit, static_cast<long long>(expanded.lines), expanded.seconds,
                expanded.megabytes);
    // The import the list window makes, in this process: the million entries held.
    QElapsedTimer clock;
    clock.start();
    ListImport import;
    importListLine(QStringLiteral("/tmp/x/[0-999]/[0-999]"), import, true,
                   ListSyntax{true, QDate(2024, 3, 5), PathStyle::Posix});
    std::printf("import of [0-999]/[0-999]  %lld entries held, %.2f s\n",
                static_cast<long long>(import.entries.size()), clock.nsecsElapsed() / 1e9);

    const bool ok = import.entries.size() == 1000000 && refused.exit == 2 && refused.lines == 0 &&
                    refused.megabytes < 50 && expanded.exit == 0 && expanded.lines == 1000000 &&
                    expanded.seconds < 1.5;
    if (!ok)
        std::printf("FAILED: a target is missed\n");
    return ok ? 0 : 1;
}
