// Sends 100,000 folders to the trash through FileFolder::recycled and the same number with
// `gio trash` into the same temporary trash, and prints both times and the ratio. Then two
// series of 10,000 folders of one name, so that every item of the second collides, to show
// that the cost per item stays flat.
//
// Usage: bench_trash [count] [same-name count]
#include "ScriptedPrompter.h"
#include "fileops/FileFolder.h"
#include "fileops/Progress.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

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

Run viaRecycled(const QStringList& paths, const QList<qsizetype>& marks)
{
    ScriptedPrompter prompter; // answers Yes to the one confirmation
    CheckpointProgress progress(marks);
    FileFolder ff(&prompter, &progress);
    QElapsedTimer clock;
    clock.start();
    const bool ok = ff.recycled(toPathList(paths));
    Run run{clock.nsecsElapsed() / 1e9, progress.times};
    if (!ok || prompter.shown.size() != 1) {
        std::fprintf(stderr, "recycled failed\n");
        std::exit(3);
    }
    return run;
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

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    // gio looks at the home folder's device, so it must exist.
    QDir().mkpath(dir.path() + QStringLiteral("/home"));
    qputenv("HOME", QFile::encodeName(dir.path() + QStringLiteral("/home")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + QStringLiteral("/data")));
    const QString trashFiles = dir.path() + QStringLiteral("/data/Trash/files");
    std::printf("trash in %s\n", qPrintable(dir.path()));

    // Distinct names for the two tools, so neither pays for the other's collisions.
    const QStringList ours = makeFolders(dir.path() + QStringLiteral("/ours"), count, false, "o");
    const QStringList gio = makeFolders(dir.path() + QStringLiteral("/gio"), count, false, "g");

    QList<qsizetype> marks;
    for (qsizetype m : {qsizetype(10'000), qsizetype(50'000), qsizetype(100'000), count})
        if (m <= count && !marks.contains(m))
            marks << m;
    const Run run = viaRecycled(ours, marks);
    std::printf("recycled:   %lld folders in %.3f s, %.1f us per folder\n", qlonglong(count),
                run.seconds, run.seconds * 1e6 / double(count));
    printMarks("recycled", run);
    qsizetype gioDone = 0;
    const double gioSeconds = viaGio(gio, 1e9, &gioDone);
    std::printf("gio trash:  %lld folders in %.3f s, %.1f us per folder\n", qlonglong(gioDone),
                gioSeconds, gioSeconds * 1e6 / double(gioDone));
    std::printf("ratio recycled / gio trash: %.2f (target at most 1.5)\n",
                run.seconds / gioSeconds);
    const qsizetype inTrash = countIn(trashFiles);
    std::printf("items in the trash: %lld (expected %lld)\n", qlonglong(inTrash),
                qlonglong(count + gioDone));

    // One name, twice: the second series collides on every item.
    QList<qsizetype> sameMarks;
    for (qsizetype m : {sameCount / 10, sameCount / 2, sameCount})
        sameMarks << m;
    for (int series = 1; series <= 2; ++series) {
        const QStringList same = makeFolders(dir.path() + QStringLiteral("/same%1").arg(series),
                                             sameCount, true, "case001");
        const Run r = viaRecycled(same, sameMarks);
        std::printf("recycled, one name, series %d: %lld folders in %.3f s, %.1f us per folder\n",
                    series, qlonglong(sameCount), r.seconds, r.seconds * 1e6 / double(sameCount));
        printMarks("one name", r);
    }
    const QStringList gioSame =
        makeFolders(dir.path() + QStringLiteral("/gioSame"), sameCount, true, "case002");
    qsizetype gioSameDone = 0;
    const double gioSameSeconds = viaGio(gioSame, 120, &gioSameDone);
    std::printf("gio trash, one name: %lld of %lld folders in %.3f s, %.1f us per folder\n",
                qlonglong(gioSameDone), qlonglong(sameCount), gioSameSeconds,
                gioSameSeconds * 1e6 / double(gioSameDone));
    std::printf("items in the trash: %lld (expected %lld)\n", qlonglong(countIn(trashFiles)),
                qlonglong(count + gioDone + 2 * sameCount + gioSameDone));
    return 0;
}
