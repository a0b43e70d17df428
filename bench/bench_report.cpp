// What the run report costs. A 100,000-folder series created by the engine on the host file
// system three ways, turn by turn: with no listener, with the report the window keeps, and
// with the command line's JSON lines (--json, written to a discarding device). Then
// the report window opened over 100,000 rows, until its first paint. Arguments: count,
// rounds, folder to create in (default /dev/shm, where the program's own work shows best).
#include "JsonLines.h"
#include "ScratchHome.h"
#include "ScriptedPrompter.h"
#include "host/HostFileSystem.h"
#include "report/ReportWindow.h"
#include "run/FolderSteps.h"
#include "run/RunContext.h"
#include "run/RunReport.h"
#include "series/SeriesEngine.h"
#include "settings/Options.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

namespace
{

// Takes every byte and keeps none.
class Discard : public QIODevice
{
public:
    Discard() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override { return size; }
};

struct NoYield : RunContext {
    void yieldOnce() override {}
    bool isCancelRequested() override { return false; }
};

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir scratchHome;
    useScratchHome(scratchHome.path());
    const int count = argc > 1 ? atoi(argv[1]) : 100000;
    const int rounds = argc > 2 ? atoi(argv[2]) : 3;
    const QString where = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("/dev/shm");

    double best[3] = {1e9, 1e9, 1e9};
    const char* names[3] = {"no listener", "report", "JSON lines"};
    for (int round = 0; round < rounds; ++round) {
        for (int way = 0; way < 3; ++way) {
            QTemporaryDir dir(where + QStringLiteral("/bench-report-XXXXXX"));
            HostFileSystem fs;
            Options options;
            ScriptedPrompter prompter;
            FolderSteps steps(fs, prompter, options, hostPathStyle());
            RunReport report;
            Discard sink;
            LineOutput out(sink);
            JsonFolderLines json(out);
            if (way == 1)
                steps.addListener(&report);
            if (way == 2)
                steps.addListener(&json);
            NoYield context;
            const SeriesParameters p{
                dir.path() + QLatin1Char('/'), QStringLiteral("case"), {}, 1, count, 6, true};
            QElapsedTimer t;
            t.start();
            SeriesEngine(steps).createSeries(p, context);
            out.flush();
            best[way] = std::min(best[way], t.nsecsElapsed() / 1e9);
            if (steps.tally().created != count) {
                std::fprintf(stderr, "only %d of %d made\n", steps.tally().created, count);
                return 1;
            }
        }
    }
    for (int way = 0; way < 3; ++way)
        std::printf("create %d folders, %-14s %.3f s (%.2f us/folder, %+.1f %%)\n", count,
                    names[way], best[way], best[way] * 1e6 / count,
                    (best[way] / best[0] - 1) * 100);

    // The window over as many rows.
    RunReport report;
    report.runStarted(RunKind::Create);
    for (int i = 0; i < count; ++i)
        report.folderDone(
            {i % 50 ? FolderOutcome::Created : FolderOutcome::Failed,
             QStringLiteral("/work/project/case%1").arg(i, 6, 10, QLatin1Char('0')),
             i % 50 ? QString() : QStringLiteral("フォルダの作成で異常が起きました。"), false,
             i + 1});
    double open = 1e9;
    double sorted = 1e9;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer t;
        t.start();
        ReportWindow window(report, {});
        window.filterBox()->setCurrentIndex(0); // every row, not only the failed ones
        window.show();
        QApplication::processEvents();
        window.grab(); // painted once
        open = std::min(open, t.nsecsElapsed() / 1e9);
        t.start();
        window.table()->sortByColumn(1, Qt::DescendingOrder);
        window.grab();
        sorted = std::min(sorted, t.nsecsElapsed() / 1e9);
    }
    std::printf("report window, %d rows: shown in %.3f s, sorted by folder in %.3f s\n", count,
                open, sorted);
    return 0;
}
