#pragma once

#include "FileOperations.h"
#include "FileSystem.h"
#include "FolderBrowser.h"
#include "FolderEnumeration.h"
#include "PathNames.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <memory>

class MountTable;
class Progress;
class Prompter;

// Windows system codes that folder creation returns besides 0, 3 and 183.
namespace SystemError
{
constexpr int AccessDenied = 5;
constexpr int WriteProtect = 19;
constexpr int FileExists = 80; // a file stands where the folder should be
constexpr int DiskFull = 112;
constexpr int BadPathname = 161; // relative, empty, or holding a NUL
constexpr int FilenameTooLong = 206;
} // namespace SystemError

// The one class through which the program touches the disk. It keeps existence tests, folder
// creation and the path helpers that look at the disk itself, and takes its other concerns
// from their own classes: the pure name helpers, the file operations with their confirmation,
// progress and trash, the folder browser and the enumeration. Paths are host paths ('/' on
// POSIX); a relative path is never resolved against the working directory.
class FileFolder : public FileSystem,
                   public PathNames,
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
        m_prompter = prompter;
        setBrowsePrompter(prompter);
    }
    Prompter* prompter() const { return m_prompter; }
    void setProgress(Progress* progress) { m_progress = progress; }
    Progress* progress() const { return m_progress; }

    // FileSystem
    bool folderExist(const QString& path) override;
    bool fileExist(const QString& pattern) override;
    int createFolder(const QString& path, QList<MadeFolder>* made = nullptr) override;
    FolderLook lookAtFolder(const QString& path, bool forFile) override;
    std::optional<QStringList> folderEntries(const QString& path) override;
    QList<TrashResult> trash(const QList<TrashItem>& items) override;

    // The trash of the named surface: every item of a NUL-separated list, as it stands.
    bool recycled(const QString& pathList) { return FileOperations::recycled(pathList); }

    // Creates only the last folder; nonzero when it was created.
    int createFolder2(const QString& path);
    // The host's temporary folder, ending with the separator.
    QString getTempFolder() const;
    // Both forms are the path itself on a host without 8.3 names; empty when it does not exist.
    QString getLongPath(const QString& shortPath) const;
    QString getShortPath(const QString& longPath) const;

    QString getFileType(const QString& path, bool existCheck, bool nameCheck);
    // The folder part: an existing file's folder, an existing folder itself; else empty.
    QString getFilePath(const QString& fullPath);
    // The ancestors of getFilePath's result from the root down.
    QStringList getSplitPath(const QString& fullPath);

private:
    const MountTable& mounts();

    Prompter* m_prompter = nullptr;
    Progress* m_progress = nullptr;
    std::shared_ptr<MountTable> m_mounts;
    QElapsedTimer m_mountsRead;
};
