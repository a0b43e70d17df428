#include "TargetFolder.h"

#include "fileops/FileSystem.h"
#include "fileops/FolderBrowser.h"
#include "run/RunContext.h"

QString lastExistingFolder(const QStringList& paths, FileSystem& fs, RunContext& context)
{
    QString folder;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if ((i + 1) % 20 == 0)
            context.yieldOnce();
        if (fs.folderExist(paths.at(i)))
            folder = paths.at(i);
    }
    return folder;
}

QString browseTargetFolder(FolderBrowser& browser)
{
    browser.setRealFolderOnly(true);
    return browser.referDesktop();
}
