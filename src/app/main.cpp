#include "common/AppIdentity.h"
#include "common/QtFolderChooser.h"
#include "common/QtListFileChooser.h"
#include "common/UiFont.h"
#include "fileops/DialogProgress.h"
#include "fileops/FolderBrowser.h"
#include "fileservices/FileFolder.h"
#include "host/HostFileSystem.h"
#include "main/MainWindow.h"
#include "messages/QtPrompter.h"
#include "run/FolderSteps.h"
#include "run/RunReport.h"
#include "run/RunServices.h"
#include "settings/Options.h"
#include "settings/Preferences.h"
#include "settings/SettingsFile.h"

#include "ArgumentParser.h"
#include "CommandLine.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#ifdef Q_OS_WIN
#include <cstdio>
#include <windows.h>
#endif

int main(int argc, char* argv[])
{
    // A command runs without a window, and so without a display.
    QByteArrayList args;
    for (int i = 1; i < argc; ++i)
        args << QByteArray(argv[i]);
    if (wantsCommandLine(args)) {
#ifdef Q_OS_WIN
        // A window program has no console of its own: a command writes to the one it was
        // started from, where nothing else was given in its place (a file, a pipe).
        if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
            auto missing = [](DWORD which) {
                const HANDLE h = ::GetStdHandle(which);
                return h == nullptr || h == INVALID_HANDLE_VALUE;
            };
            if (missing(STD_OUTPUT_HANDLE))
                (void)std::freopen("CONOUT$", "w", stdout);
            if (missing(STD_ERROR_HANDLE))
                (void)std::freopen("CONOUT$", "w", stderr);
            if (missing(STD_INPUT_HANDLE))
                (void)std::freopen("CONIN$", "r", stdin);
        }
#endif
        return runCommandLineMain(argc, argv);
    }
    QApplication app(argc, argv);
    setApplicationIdentity();
    QApplication::setFont(uiFont());

    // Qt's own dialogs (file and progress dialogs) speak Japanese like the rest of the tool.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    // One of each for the whole program: every window and run shares them.
    Options options;
    QtPrompter prompter;
    DialogProgress progress;
    QtFolderChooser folderChooser;
    QtListFileChooser listFileChooser;
    // The runs get the host file system itself; the named façade over the file services is
    // for whoever calls those services, not for the runs.
    HostFileSystem fileSystem(&prompter, &progress);
    FolderBrowser browser(fileSystem);
    browser.setFolderChooser(&folderChooser);
    browser.setBrowsePrompter(&prompter);
    FolderSteps steps(fileSystem, prompter, options, hostPathStyle());
    // What the last runs did, so that they can be taken back after a restart too.
    steps.journal().setPath(RunJournal::defaultPath());
    RunReport report;
    steps.addListener(&report);
    const RunServices services{
        options,
        prompter,
        steps,
        fileSystem,
        browser,
        &listFileChooser,
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()),
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(),
        &report};

    MainWindow window(services, MainWindowPaths{settingsFilePath(), FileFolder::getTempFolder(),
                                                preferencesFilePath()});
    prompter.setParent(&window);
    progress.setParent(&window);
    folderChooser.setParent(&window);
    listFileChooser.setParent(&window);
    window.show();
    return app.exec();
}
