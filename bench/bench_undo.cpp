// A delete run of 100,000 empty folders into a temporary trash, then the undo that brings them
// all back, in the same run and through the same steps (FolderSteps over the host file
// system, the journal written to disk and read back). The undo re-checks every item as it
// moves (entry and info file identity, the info file's Path, a rename that never replaces),
// so it is compared against the delete that made the trash: the target is at most 1.0 times.
//
// Usage: bench_undo [count]   (run it from the folder to be measured)
#include "ScriptedPrompter.h"
#include "fileservices/FileFolder.h"
#include "run/FolderSteps.h"
#include "settings/Options.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 100000;
    QTemporaryDir home(QDir::currentPath() + QStringLiteral("/bench-undo-XXXXXX"));
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/data")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(home.path() + QStringLiteral("/state")));
    const QString target = home.path() + QStringLiteral("/target");
    QDir().mkpath(target);
    QStringList paths;
    for (int n = 0; n < count; ++n) {
        paths << target + QStringLiteral("/case%1").arg(n, 6, 10, QLatin1Char('0'));
        QDir().mkdir(paths.last());
    }

    Options options;
    ScriptedPrompter prompter;
    FileFolder fs(&prompter);
    FolderSteps steps(fs, prompter, options, hostPathStyle());
    steps.journal().setPath(RunJournal::defaultPath());

    QElapsedTimer clock;
    clock.start();
    steps.startRun(RunKind::Delete);
    steps.deleteFolders(paths);
    steps.finishRun();
    const double deleted = clock.nsecsElapsed() / 1e9;
    const qsizetype left = QDir(target).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
    const qint64 journal = QFileInfo(RunJournal::defaultPath()).size();

    // As after a restart: the record comes from the disk.
    FolderSteps again(fs, prompter, options, hostPathStyle());
    clock.restart();
    again.journal().setPath(RunJournal::defaultPath());
    again.undoLast();
    const double undone = clock.nsecsElapsed() / 1e9;
    const qsizetype back = QDir(target).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();

    std::printf("delete of %d folders: %.2f s (%lld left in place), journal %.1f MB\n", count,
                deleted, qlonglong(left), journal / 1e6);
    std::printf("undo of the delete:   %.2f s (%lld back), %.2f x the delete (target <= 1.0)\n",
                undone, qlonglong(back), undone / deleted);
    return back == count && left == 0 && undone <= 1.0 * deleted ? 0 : 1;
}
