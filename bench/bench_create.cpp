// Creates 100,000 folders through the real window and engine (offscreen, boxes answered by
// the scripted prompter) and the same names with `xargs mkdir`, and prints the ratio. Then
// measures how far a run goes after its cancel button is clicked.
#include "BenchHelpers.h"
#include "ScratchHome.h"
#include "ScriptedPrompter.h"
#include "TestServices.h"
#include "fileservices/FileFolder.h"
#include "main/MainWindow.h"
#include "settings/Options.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir scratchHome;
    useScratchHome(scratchHome.path());
    const int count = argc > 1 ? atoi(argv[1]) : 100000;
    const int rounds = argc > 2 ? atoi(argv[2]) : 3;

    Options options;
    ScriptedPrompter prompter;
    FileFolder fs(&prompter);
    QTemporaryDir settings;
    TestServices services(fs, options, prompter);
    MainWindow window(services.services(),
                      {settings.filePath(QStringLiteral("SetNMaker.cf")), fs.getTempFolder(),
                       settings.filePath(QStringLiteral("preferences.ini"))});
    window.show();
    auto* create = window.findChild<QPushButton*>(QStringLiteral("cmdCreateDelete0"));

    double best = 1e9, bestMkdir = 1e9;
    for (int r = 0; r < rounds; ++r) {
        QTemporaryDir ours(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
        fillSeries(window, ours.path(), count - 1);
        QElapsedTimer t;
        t.start();
        create->click();
        const double s = t.nsecsElapsed() / 1e9;
        if (countFolders(ours.path()) != count || !prompter.shown.isEmpty()) {
            std::fprintf(stderr, "run did not create every folder\n");
            return 1;
        }
        QTemporaryDir theirs(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
        const double m = runMkdir(theirs.path(), count);
        std::printf("round %d: nmaker %.3f s, xargs mkdir %.3f s, ratio %.2f\n", r + 1, s, m,
                    s / m);
        best = std::min(best, s);
        bestMkdir = std::min(bestMkdir, m);
    }
    std::printf("best of %d: nmaker %.3f s (%.2f us/folder), xargs mkdir %.3f s, ratio %.2f\n",
                rounds, best, best * 1e6 / count, bestMkdir, best / bestMkdir);

    // A cancel click must take effect before the next folder.
    QTemporaryDir cancelled(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    fillSeries(window, cancelled.path(), count - 1);
    int atClick = -1;
    QTimer::singleShot(300, &window, [&] {
        atClick = countFolders(cancelled.path());
        window.findChild<QPushButton*>(QStringLiteral("cmdExit"))->click();
    });
    create->click();
    const int after = countFolders(cancelled.path());
    std::printf("cancel: %d folders when clicked, %d after the run stopped (%d more)\n", atClick,
                after, after - atClick);
    return 0;
}
