#pragma once

#include "fileops/FileSystem.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <functional>
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
constexpr int InvalidName = 123; // a name the Win32 layer would alter or read as a device
constexpr int BadPathname = 161; // relative, empty, or holding a NUL
constexpr int FilenameTooLong = 206;
} // namespace SystemError

// The host's file system as the runs use it: existence, folder creation, the look before a
// deletion, and the trash with its one confirmation and its progress display. Paths are host
// paths ('/' on POSIX); a relative path is never resolved against the working directory.
class HostFileSystem : public FileSystem
{
public:
    // Either port may be null: no prompter means a confirmation cannot be given (the trash
    // is refused); no progress means none is shown.
    explicit HostFileSystem(Prompter* prompter = nullptr, Progress* progress = nullptr);
    ~HostFileSystem() override;

    void setPrompter(Prompter* prompter) { m_prompter = prompter; }
    Prompter* prompter() const { return m_prompter; }
    void setProgress(Progress* progress) { m_progress = progress; }
    Progress* progress() const { return m_progress; }

    bool folderExist(const QString& path) override;
    bool fileExist(const QString& pattern) override;
    int createFolder(const QString& path, QList<MadeFolder>* made = nullptr) override;
    FolderLook lookAtFolder(const QString& path, bool forFile) override;
    std::optional<QStringList> folderEntries(const QString& path) override;
    Reason createFailure(const QString& path, int code) override;
    // FolderTree_posix.cpp / FolderTree_win.cpp.
    TreeRead readTree(const QString& path, qsizetype limit) override;
    TreeCopyResult copyTree(const QString& from, const QString& to, const QList<TreeEntry>& entries,
                            bool withFiles, const CopyProceed& proceed) override;
    qint64 freeBytes(const QString& path) override;
    // With the confirmation and progress as set below.
    QList<TrashResult> trash(const QList<TrashItem>& items,
                             ItemObserver* observer = nullptr) override;

    // With the progress as set below; the caller asks first.
    QList<RestoreResult> restore(const QList<TrashPlace>& places, bool dryRun,
                                 ItemObserver* observer = nullptr) override;

    struct TrashShowing {
        bool confirm = true;  // one question for the whole list
        bool progress = true; // the progress display, with its cancel button
    };
    QList<TrashResult> trash(const QList<TrashItem>& items, TrashShowing showing,
                             ItemObserver* observer = nullptr);
    void setTrashShowing(TrashShowing showing) { m_showing = showing; }

    // The folder part of a path: an existing file's folder, an existing folder itself; else
    // empty.
    QString folderPart(const QString& fullPath);

    // The question before a deletion of `count` items, the first of them named.
    static QString deleteQuestion(qsizetype count, const QString& first, bool toTrash);

    // For tests, so that a test can change the tree exactly between two steps: `beforeItem`
    // gets each item's path when its turn comes, before it is looked at again; `beforeRename`
    // after every check, right before it moves.
    void setTrashHooks(std::function<void(const QString&)> beforeItem,
                       std::function<void(const QString&)> beforeRename = {})
    {
        m_beforeTrashItem = std::move(beforeItem);
        m_beforeTrashRename = std::move(beforeRename);
    }
    // For tests: called with each template entry's path right before it is copied.
    void setCopyHook(std::function<void(const QString&)> beforeEntry)
    {
        m_beforeCopyEntry = std::move(beforeEntry);
    }
    // For tests: called with each item's original path right before it moves back.
    void setRestoreHook(std::function<void(const QString&)> beforeMove)
    {
        m_beforeRestoreMove = std::move(beforeMove);
    }

#ifdef Q_OS_WIN
    // For tests: stands in for the shell's recycling of each cleaned path (see
    // WindowsRecycleBin::setShell), so that a shell that deletes outright can be played.
    void setRecycleShell(std::function<void(const QString&)> shell)
    {
        m_recycleShell = std::move(shell);
    }
#endif

private:
    const MountTable& mounts();
    // Whether `dir` lists an ordinary visible file that matches `name` (any, with `anyName`).
    bool listsFile(const QString& dir, const QString& name, bool anyName);
    // The host's own look at a path hostPath() gave: a folder there, and what it holds.
    static bool isFolderAt(const QString& host);
    static std::optional<QStringList> entriesAt(const QString& host);
    // A name the listings leave out, as a dot file is.
    static bool isHiddenName(const QString& name);
    // Why a name is no Windows name, by the part that is not.
    static Reason invalidNameReason(const QString& path);
    // The descriptor of the parent the latest folders went into, or AT_FDCWD; and whether
    // that parent is where a volume would be mounted.
    int openedParent(QByteArrayView parent, bool& volumeSlot);

    Prompter* m_prompter = nullptr;
    Progress* m_progress = nullptr;
    TrashShowing m_showing;
    std::shared_ptr<MountTable> m_mounts;
    QElapsedTimer m_mountsRead;
    std::function<void(const QString&)> m_beforeTrashItem;
    std::function<void(const QString&)> m_beforeTrashRename;
    std::function<void(const QString&)> m_beforeRestoreMove;
    std::function<void(const QString&)> m_beforeCopyEntry;
    QByteArray m_parent;
    QByteArray m_bytes; // of the latest folder made
    int m_parentFd = -1;
    bool m_parentIsSlot = false;
    QElapsedTimer m_clock;
    qint64 m_parentUsed = -1;                           // on m_clock
    std::function<void(const QString&)> m_recycleShell; // Windows only
};
