#include "FolderBrowser.h"

#include "FileSystem.h"
#include "PathNames.h"
#include "messages/Prompter.h"

#include <QCoreApplication>

FolderBrowser::FolderBrowser(FileSystem& fs) : m_fs(fs) {}

QString FolderBrowser::instruction()
{
    return QCoreApplication::translate(
        "FolderBrowser", "適当なフォルダをクリックして選択状態にしてから ＯＫ を押して下さい");
}

QString FolderBrowser::browseFolder(BrowseRoot root, const QString& path)
{
    if (!m_chooser)
        return {};
    FolderChoice choice;
    choice.root = root;
    choice.folder = path;
    choice.flags = m_flags;
    choice.instruction = instruction();
    return PathNames::nullDel(m_chooser->chooseFolder(choice));
}

QString FolderBrowser::referDesktop()
{
    return browseFolder(BrowseRoot::Desktop);
}

QString FolderBrowser::referPrograms()
{
    return browseFolder(BrowseRoot::Programs);
}

QString FolderBrowser::referPersonal()
{
    return browseFolder(BrowseRoot::Personal);
}

QString FolderBrowser::referFavorites()
{
    return browseFolder(BrowseRoot::Favorites);
}

QString FolderBrowser::referStartMenu()
{
    return browseFolder(BrowseRoot::StartMenu);
}

QString FolderBrowser::referDrives()
{
    return browseFolder(BrowseRoot::Drives);
}

QString FolderBrowser::referNetwork()
{
    return browseFolder(BrowseRoot::Network);
}

QString FolderBrowser::referUser(const QString& path)
{
    if (!m_fs.folderExist(path)) {
        if (m_prompter)
            m_prompter->prompt(PromptRequest{
                -1, QCoreApplication::translate("FolderBrowser", "存在しないフォルダです"),
                MessageStyle::Ok});
        return {};
    }
    return browseFolder(BrowseRoot::Folder, path);
}
