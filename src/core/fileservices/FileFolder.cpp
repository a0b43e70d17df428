#include "FileFolder.h"

#include "PathStyle.h"
#include "fileops/HostPath.h"

#include <QDir>
#include <QFileInfo>

namespace
{
constexpr PathStyle Host = hostPathStyle();
} // namespace

FileFolder::FileFolder(Prompter* prompter, Progress* progress)
    : HostFileSystem(prompter, progress), FileOperations(static_cast<HostFileSystem&>(*this)),
      FolderBrowser(static_cast<FileSystem&>(*this)),
      FolderEnumeration(static_cast<HostFileSystem&>(*this))
{
    setBrowsePrompter(prompter);
}

FileFolder::~FileFolder() = default;

QList<TrashResult> FileFolder::trash(const QList<TrashItem>& items, ItemObserver* observer)
{
    return HostFileSystem::trash(items, TrashShowing{!respondDialog(), showDialog()}, observer);
}

int FileFolder::createFolder2(const QString& path)
{
    const QString host = hostPath(path);
    return !host.isEmpty() && QDir().mkdir(host) ? 1 : 0;
}

QString FileFolder::getTempFolder()
{
    const QString temp = QDir::toNativeSeparators(QDir::tempPath());
    if (temp.isEmpty())
        return {};
    return temp.endsWith(pathSeparator(Host)) ? temp : temp + pathSeparator(Host);
}

QString FileFolder::getLongPath(const QString& shortPath) const
{
    return isAbsoluteHostPath(shortPath) && QFileInfo::exists(shortPath) ? shortPath : QString();
}

QString FileFolder::getShortPath(const QString& longPath) const
{
    return getLongPath(longPath);
}

QString FileFolder::getFileType(const QString& path, bool existCheck, bool nameCheck)
{
    // As the original: a false existCheck is the one that demands an existing file.
    if (!existCheck && !fileExist(path))
        return {};
    const QString text = nameCheck ? path : PathNames::getFileName(path);
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return nameCheck ? QString() : text;
    return text.mid(dot + 1);
}

QStringList FileFolder::getSplitPath(const QString& fullPath)
{
    const QString folder = getFilePath(fullPath);
    if (folder.isEmpty())
        return {QString()};
    const QChar sep = pathSeparator(Host);
    const qsizetype rootLength = Host == PathStyle::Windows ? 3 : 1;
    QStringList chain{folder.left(rootLength)};
    for (qsizetype i = folder.indexOf(sep, rootLength); i >= 0; i = folder.indexOf(sep, i + 1))
        chain << folder.left(i);
    if (folder.size() > rootLength)
        chain << folder;
    return chain;
}
