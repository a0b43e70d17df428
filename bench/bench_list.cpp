// The list window with 100,000 entries from the one line [00000-99999], through the real
// window (offscreen): import until the list window shows, select all, deselect all, delete
// every other entry, the expanded export and the export as written; then an import of 64 MB
// of empty lines. Prints each time, the memory the list window adds, and the peak memory.
#include "ScratchHome.h"
#include "ScriptedPrompter.h"
#include "TestServices.h"
#include "fileservices/FileFolder.h"
#include "folderlist/FolderListModel.h"
#include "folderlist/FolderListView.h"
#include "folderlist/ListController.h"
#include "folderlist/ListWindow.h"
#include "main/MainWindow.h"
#include "settings/Options.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace
{

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double seconds(QElapsedTimer& t)
{
    const double s = t.nsecsElapsed() / 1e9;
    t.restart();
    return s;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir scratchHome;
    useScratchHome(scratchHome.path());
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("range.txt"));
    {
        QFile f(in);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray("/tmp/nmaker-bench/case[00000-99999]\r\n"));
    }
    Options options;
    ScriptedPrompter prompter;
    FileFolder fs(&prompter);
    TestServices services(fs, options, prompter);
    MainWindow window(services.services(),
                      {dir.filePath(QStringLiteral("SetNMaker.cf")), fs.getTempFolder(),
                       dir.filePath(QStringLiteral("preferences.ini"))});
    window.show();
    QApplication::processEvents();
    services.listFiles.openAnswers << in;
    services.listFiles.saveAnswers << dir.filePath(QStringLiteral("expanded.txt"))
                                   << dir.filePath(QStringLiteral("raw.txt"));

    const long before = residentKiB();
    bool ok = true;
    QElapsedTimer clock;
    // The import yields while it reads, so the list window is waited for, not assumed.
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        ListWindow* list = window.lists().listWindow();
        if (QApplication::activeModalWidget() != list)
            return;
        poll.stop();
        const double import = seconds(clock);
        // Let the window's activation (which clears the selection) happen before the clicks.
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
        clock.restart();
        const long withList = residentKiB();
        ok = list->model().rowCount() == 100000;

        list->findChild<QAction*>(QStringLiteral("mnuEditAllSelect"))->trigger();
        QApplication::processEvents();
        const double selectAll = seconds(clock);
        ok = ok && list->selectedItemCount() == 100000;

        list->findChild<QAction*>(QStringLiteral("mnuEditNoSelect"))->trigger();
        QApplication::processEvents();
        const double deselectAll = seconds(clock);

        // Every other entry, as 50,000 separate ranges.
        QItemSelection every;
        for (int row = 0; row < 100000; row += 2)
            every.select(list->model().index(row), list->model().index(row));
        list->view()->selectionModel()->select(every, QItemSelectionModel::Select);
        clock.restart();
        list->findChild<QAction*>(QStringLiteral("mnuEditDelete"))->trigger();
        QApplication::processEvents();
        const double remove = seconds(clock);
        ok = ok && list->model().rowCount() == 50000;

        list->findChild<QAction*>(QStringLiteral("mnuActionListExport1"))->trigger();
        const double expanded = seconds(clock);
        list->findChild<QAction*>(QStringLiteral("mnuActionListExport0"))->trigger();
        const double raw = seconds(clock);
        ok = ok && QFile(dir.filePath(QStringLiteral("expanded.txt"))).size() > 0 &&
             QFile(dir.filePath(QStringLiteral("raw.txt"))).size() > 0;

        std::printf("import until the list shows  %.3f s\n", import);
        std::printf("select all                   %.3f s\n", selectAll);
        std::printf("deselect all                 %.3f s\n", deselectAll);
        std::printf("delete every other entry     %.3f s\n", remove);
        std::printf("expanded export (50,000)     %.3f s\n", expanded);
        std::printf("export as written            %.3f s\n", raw);
        std::printf("list window's extra memory   %.1f MB\n", (withList - before) / 1024.0);
        list->closeList();
    });
    poll.start();
    clock.start();
    window.findChild<QAction*>(QStringLiteral("mnuFileListImport"))->trigger();

    // 64 MB of empty lines, from the list window: busy, with its progress in the title.
    const QString empty = dir.filePath(QStringLiteral("empty.txt"));
    {
        QFile f(empty);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray("\r\n").repeated(32 * 1024 * 1024));
    }
    services.listFiles.openAnswers << empty;
    ListWindow* list = window.lists().listWindow();
    int titles = 0;
    QObject::connect(list, &QWidget::windowTitleChanged, [&titles] { ++titles; });
    clock.restart();
    Q_EMIT list->importRequested();
    const double emptyLines = seconds(clock);
    ok = ok && list->model().rowCount() == 0;
    std::printf("64 MB of empty lines         %.3f s (target under 2 s), %d progress showings\n",
                emptyLines, titles);
    std::printf("peak memory                  %.1f MB\n", peakKiB() / 1024.0);
    if (!ok || !prompter.shown.isEmpty()) {
        std::printf("FAILED: the list or the exports are not what they should be\n");
        for (const PromptRequest& r : prompter.shown)
            std::printf("  box %d: %s\n", r.number, qPrintable(r.text));
        return 1;
    }
    return 0;
}
