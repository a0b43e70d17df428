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

#include "i18n/Language.h"

#include "ArgumentParser.h"
#include "CommandLine.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char* argv[])
{
    // A command runs without a window, and so without a display.
    // --lang chooses the language of a command as of the window: it makes no command.
    QStringList named;
    for (int i = 1; i < argc; ++i)
        named << QString::fromLocal8Bit(argv[i]);
    takeLanguageArgument(named);
    QByteArrayList args;
    for (const QString& a : std::as_const(named))
        args << a.toLocal8Bit();
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

    // The arguments as typed (on Windows from the wide command line).
    QStringList typed = QCoreApplication::arguments().mid(1);
    const LanguageArgument languageArgument = takeLanguageArgument(typed);
    if (languageArgument.given && !languageArgument.language) {
        installLanguage(chooseLanguage({}, qEnvironmentVariable("NMAKER_LANG")));
        std::fputs(qPrintable(badLanguageText(languageArgument.bad) + u'\n'), stderr);
        return 2;
    }
    installLanguage(chooseLanguage(languageArgument, qEnvironmentVariable("NMAKER_LANG"),
                                   Preferences(preferencesFilePath()).language()));

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
