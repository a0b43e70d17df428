#pragma once

#include "FileOperations.h"
#include "FolderEnumeration.h"
#include "fileops/FolderBrowser.h"
#include "fileops/PathNames.h"
#include "host/HostFileSystem.h"

#include <QString>
#include <QStringList>

class Progress;
class Prompter;

// The one named façade over the program's file services: the host file system the runs use,
// the file operations with their flags, the folder browser, the enumeration and the pure name
// helpers, each in a class of its own that depends only on the host file system.
class FileFolder : public HostFileSystem,
                   public FileOperations,
                   public FolderBrowser,
                   public FolderEnumeration
{
public:
    // Every port may be null: no prompter means a confirmation cannot be given (the operation
    // is refused); no progress means none is shown; no chooser means every browse is cancelled.
    explicit FileFolder(Prompter* prompter = nullptr, Progress* progress = nullptr);
    ~FileFolder() override;

    void setPrompter(Prompter* prompter)
    {
        HostFileSystem::setPrompter(prompter);
        setBrowsePrompter(prompter);
    }

    // The trash of the port, asking and showing as the operation flags say.
    QList<TrashResult> trash(const QList<TrashItem>& items,
                             ItemObserver* observer = nullptr) override;
    using HostFileSystem::trash;

    // The trash of the named surface: every item of a NUL-separated list, as it stands.
    bool recycled(const QString& pathList) { return FileOperations::recycled(pathList); }

    // Creates only the last folder; nonzero when it was created.
    int createFolder2(const QString& path);
    // The host's temporary folder, ending with the separator.
    static QString getTempFolder();
    // Both forms are the path itself on a host without 8.3 names; empty when it does not exist.
    QString getLongPath(const QString& shortPath) const;
    QString getShortPath(const QString& longPath) const;

    QString getFileType(const QString& path, bool existCheck, bool nameCheck);
    // The folder part: an existing file's folder, an existing folder itself; else empty.
    QString getFilePath(const QString& fullPath) { return folderPart(fullPath); }
    // The ancestors of getFilePath's result from the root down.
    QStringList getSplitPath(const QString& fullPath);

    // The name helpers, as members of the named surface.
    static QString getFileNameA(const QString& p) { return PathNames::getFileNameA(p); }
    static QString getFileNameAB(const QString& p) { return PathNames::getFileNameAB(p); }
    static QString getFileName(const QString& p) { return PathNames::getFileName(p); }
    static QString getFileTypeA(const QString& p) { return PathNames::getFileTypeA(p); }
    static QString getNoTypeFileNameA(const QString& p) { return PathNames::getNoTypeFileNameA(p); }
    static QString nullDel(const QString& buffer) { return PathNames::nullDel(buffer); }
};
