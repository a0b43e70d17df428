#include "fileops/DialogProgress.h"
#include "fileops/FileFolder.h"
#include "main/MainWindow.h"
#include "messages/QtPrompter.h"
#include "settings/Options.h"
#include "settings/SettingsFile.h"

#include "Version.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "common/UiFont.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("NMaker"));
    QApplication::setApplicationVersion(QStringLiteral(NMAKER_VERSION_STRING));
    QApplication::setFont(uiFont());

    // Qt's own dialogs (file and progress dialogs) speak Japanese like the rest of the tool.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    Options options;
    QtPrompter prompter;
    DialogProgress progress;
    FileFolder fileFolder(&prompter, &progress);
    MainWindow window(options, prompter, fileFolder,
                      MainWindowPaths{settingsFilePath(), fileFolder.getTempFolder()});
    prompter.setParent(&window);
    progress.setParent(&window);
    window.show();
    return app.exec();
}
