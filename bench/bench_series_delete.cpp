// Deletes a series of 100,000 existing folders through the real window (offscreen) up to the
// trash's confirmation, which is declined: how long the names and the checks of every folder
// take, and how often the window got to paint meanwhile (the longest stretch without a yield).
#include "BenchHelpers.h"
#include "ScriptedPrompter.h"
#include "TestServices.h"
#include "fileservices/FileFolder.h"
#include "main/MainWindow.h"
#include "settings/Options.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 100000;
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/data")));
    QTemporaryDir target;
    for (int n = 0; n < count; ++n)
        QDir().mkdir(target.path() + QStringLiteral("/case%1").arg(n, 5, 10, QLatin1Char('0')));

    Options options;
    ScriptedPrompter prompter;
    FileFolder fs(&prompter);
    TestServices services(fs, options, prompter);
    MainWindow window(services.services(),
                      {home.filePath(QStringLiteral("SetNMaker.cf")), fs.getTempFolder(),
                       home.filePath(QStringLiteral("preferences.ini"))});
    window.show();
    fillSeries(window, target.path(), count - 1);
    QApplication::processEvents();

    // A timer ticking every 10 ms: the longest gap between two ticks is how long the window
    // stood still.
    QElapsedTimer clock, sinceTick;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });
    qint64 untilConfirmation = -1;
    prompter.onPrompt = [&](const PromptRequest&) {
        if (untilConfirmation < 0)
            untilConfirmation = clock.nsecsElapsed();
        ticker.stop();
    };
    prompter.answers << Answer::No; // decline the trash: nothing moves
    ticker.start();
    clock.start();
    sinceTick.start();
    window.findChild<QPushButton*>(QStringLiteral("cmdCreateDelete1"))->click();
    std::printf("delete of %d folders: %.2f s until the trash's confirmation; the window stood "
                "still at most %.0f ms\n",
                count, untilConfirmation / 1e9, longest / 1e6);
    return prompter.shown.isEmpty() ? 1 : 0;
}
