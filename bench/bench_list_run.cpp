// A list run through the real window (offscreen): 100,000 folders from the one line
// [00000-99999], created with the list window's 作成, against `xargs mkdir` with the same names;
// the duplicate check alone on those 100,000 entries. Then the series preview of 100,000
// folders until the list window shows, and the undo of a 100,000-folder creation against the
// same trash operation on the same folders through 削除.
//
// Usage: bench_list_run [count]   (run it from a folder on the disk you want to measure)
#include "BenchHelpers.h"
#include "CountingRun.h"
#include "ScriptedPrompter.h"
#include "TestServices.h"
#include "UiHelpers.h"
#include "fileservices/FileFolder.h"
#include "folderlist/FolderListModel.h"
#include "folderlist/ListRun.h"
#include "folderlist/ListWindow.h"
#include "main/MainWindow.h"
#include "settings/Options.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 100000;
    QTemporaryDir home(QDir::currentPath() + QStringLiteral("/bench-home-XXXXXX"));
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/data")));

    Options options;
    ScriptedPrompter prompter;
    FileFolder fs(&prompter);
    TestServices services(fs, options, prompter);
    MainWindow window(services.services(),
                      {home.filePath(QStringLiteral("SetNMaker.cf")), fs.getTempFolder(),
                       home.filePath(QStringLiteral("preferences.ini"))});
    window.show();
    bool ok = true;

    // The list run.
    QTemporaryDir ours(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    const QString list = home.filePath(QStringLiteral("range.txt"));
    {
        QFile f(list);
        f.open(QIODevice::WriteOnly);
        f.write((ours.path() +
                 QStringLiteral("/case[00000-%1]\r\n").arg(count - 1, 5, 10, QLatin1Char('0')))
                    .toUtf8());
    }
    services.listFiles.openAnswers << list;
    double run = 0, duplicates = 0;
    whenModal([&](QWidget* modal) {
        auto* listWindow = qobject_cast<ListWindow*>(modal);
        CountingRun context;
        QElapsedTimer t;
        t.start();
        ok =
            ok && checkDuplicates(listWindow->model().entries(), context) == DuplicateCheck::Unique;
        duplicates = t.nsecsElapsed() / 1e9;
        t.restart();
        modal->findChild<QPushButton*>(QStringLiteral("cmdCreateDelete0"))->click();
        run = t.nsecsElapsed() / 1e9;
        listWindow->closeList();
    });
    window.findChild<QAction*>(QStringLiteral("mnuFileListImport"))->trigger();
    ok = ok && countFolders(ours.path()) == count;
    QTemporaryDir theirs(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    const double mkdir = runMkdir(theirs.path(), count);
    std::printf("list run: %d folders in %.3f s, xargs mkdir %.3f s, ratio %.2f\n", count, run,
                mkdir, run / mkdir);
    std::printf("duplicate check of %d entries: %.3f s\n", count, duplicates);

    // The preview.
    QTemporaryDir previewed(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    fillSeries(window, previewed.path(), count - 1);
    QElapsedTimer clock;
    double preview = 0;
    whenModal([&](QWidget* modal) {
        preview = clock.nsecsElapsed() / 1e9;
        ok = ok && qobject_cast<ListWindow*>(modal)->model().rowCount() == count;
        qobject_cast<ListWindow*>(modal)->closeList();
    });
    clock.start();
    window.findChild<QAction*>(QStringLiteral("mnuFileListSeries"))->trigger();
    std::printf("preview of a %d-folder series until the list shows: %.3f s\n", count, preview);

    // Undo against 削除 of the same folders (one confirmation each, answered by the script).
    auto* create = window.findChild<QPushButton*>(QStringLiteral("cmdCreateDelete0"));
    auto* remove = window.findChild<QPushButton*>(QStringLiteral("cmdCreateDelete1"));
    QTemporaryDir a(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    fillSeries(window, a.path(), count - 1);
    create->click();
    clock.restart();
    remove->click();
    const double viaDelete = clock.nsecsElapsed() / 1e9;
    ok = ok && countFolders(a.path()) == 0;
    // The same names again would collide with the first ones in the trash: empty it.
    QDir(home.path() + QStringLiteral("/data/Trash")).removeRecursively();
    QTemporaryDir b(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    fillSeries(window, b.path(), count - 1);
    create->click();
    clock.restart();
    window.findChild<QAction*>(QStringLiteral("mnuFileUndo"))->trigger();
    const double viaUndo = clock.nsecsElapsed() / 1e9;
    ok = ok && countFolders(b.path()) == 0;
    std::printf("undo of %d folders %.3f s, the same through 削除 %.3f s, ratio %.2f\n", count,
                viaUndo, viaDelete, viaUndo / viaDelete);
    for (const PromptRequest& r : prompter.shown) {
        if (r.number != -1) { // only the trash's own confirmations are expected
            std::printf("unexpected box %d\n", r.number);
            ok = false;
        }
    }
    if (!ok)
        std::printf("FAILED: a run did not do what it should\n");
    return ok ? 0 : 1;
}
