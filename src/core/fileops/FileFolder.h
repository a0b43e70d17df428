#pragma once

#include "FileSystem.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
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
constexpr int BadPathname = 161; // relative or empty
constexpr int FilenameTooLong = 206;
} // namespace SystemError

// Bits of the operation flag word, as the Windows shell names them.
namespace OperationFlag
{
constexpr quint32 MultiDestFiles = 0x0001;
constexpr quint32 Silent = 0x0004;
constexpr quint32 RenameOnCollision = 0x0008;
constexpr quint32 NoConfirmation = 0x0010;
constexpr quint32 WantMappingHandle = 0x0020;
constexpr quint32 AllowUndo = 0x0040;
constexpr quint32 FilesOnly = 0x0080;
constexpr quint32 SimpleProgress = 0x0100;
constexpr quint32 NoConfirmMkDir = 0x0200;
} // namespace OperationFlag

// The one class through which the program touches the disk: existence tests, folder
// creation, path helpers and the file operations with their confirmation, progress and trash.
// Paths are host paths ('/' on POSIX); a relative path is never resolved against the working
// directory.
class FileFolder : public FileSystem
{
public:
    // Either port may be null: no prompter means a confirmation cannot be given (the operation
    // is refused); no progress means none is shown.
    explicit FileFolder(Prompter* prompter = nullptr, Progress* progress = nullptr);

    void setPrompter(Prompter* prompter) { m_prompter = prompter; }
    Prompter* prompter() const { return m_prompter; }
    void setProgress(Progress* progress) { m_progress = progress; }

    // FileSystem
    bool folderExist(const QString& path) override;
    bool fileExist(const QString& pattern) override;
    int createFolder(const QString& path) override;
    bool recycled(const QString& pathList) override;

    // Creates only the last folder; nonzero when it was created.
    int createFolder2(const QString& path);
    // The host's temporary folder, ending with the separator.
    QString getTempFolder() const;
    // Both forms are the path itself on a host without 8.3 names; empty when it does not exist.
    QString getLongPath(const QString& shortPath) const;
    QString getShortPath(const QString& longPath) const;

    static QString getFileNameA(const QString& fullPath);
    static QString getFileNameAB(const QString& fullPath);
    static QString getFileName(const QString& fullPath);
    static QString getFileTypeA(const QString& fullPath);
    static QString getNoTypeFileNameA(const QString& fullPath);
    QString getFileType(const QString& path, bool existCheck, bool nameCheck);
    QString getFilePath(const QString& fullPath);
    QStringList getSplitPath(const QString& fullPath);
    static QString nullDel(const QString& buffer);

    // File operations on NUL-separated lists.
    bool move(const QString& from, const QString& to);
    bool copy(const QString& from, const QString& to);
    bool rename(const QString& from, const QString& to);
    // Deletes for good, or to the trash while AllowUndo is set.
    bool deleteFiles(const QString& from);

    // The owner of the operation's windows; a destroyed owner reads as none.
    QObject* target() const { return m_target; }
    void setTarget(QObject* owner) { m_target = owner; }

    quint32 operationFlags() const { return m_flags; }
    bool respondDialog() const { return bit(OperationFlag::NoConfirmation); }
    void setRespondDialog(bool on) { setBit(OperationFlag::NoConfirmation, on); }
    bool renameOnCollision() const { return bit(OperationFlag::RenameOnCollision); }
    void setRenameOnCollision(bool on) { setBit(OperationFlag::RenameOnCollision, on); }
    bool simpleProgress() const { return bit(OperationFlag::SimpleProgress); }
    void setSimpleProgress(bool on) { setBit(OperationFlag::SimpleProgress, on); }
    bool confirmMakeDir() const { return !bit(OperationFlag::NoConfirmMkDir); }
    void setConfirmMakeDir(bool on) { setBit(OperationFlag::NoConfirmMkDir, !on); }
    bool showDialog() const { return !bit(OperationFlag::Silent); }
    void setShowDialog(bool on) { setBit(OperationFlag::Silent, !on); }
    bool allowUndo() const { return bit(OperationFlag::AllowUndo); }
    void setAllowUndo(bool on) { setBit(OperationFlag::AllowUndo, on); }
    bool multiDestFiles() const { return !bit(OperationFlag::MultiDestFiles); }
    void setMultiDestFiles(bool on) { setBit(OperationFlag::MultiDestFiles, !on); }
    bool filesOnly() const { return !bit(OperationFlag::FilesOnly); }
    void setFilesOnly(bool on) { setBit(OperationFlag::FilesOnly, !on); }
    bool wantMappingHandle() const { return !bit(OperationFlag::WantMappingHandle); }
    void setWantMappingHandle(bool on) { setBit(OperationFlag::WantMappingHandle, !on); }

private:
    enum class Transfer { Move, Copy };

    bool bit(quint32 b) const { return (m_flags & b) != 0; }
    void setBit(quint32 b, bool on) { m_flags = on ? (m_flags | b) : (m_flags & ~b); }
    bool confirm(const QString& text);
    bool trashItems(const QStringList& items);
    bool removeItems(const QStringList& items);
    // Runs `step` for items 0..count-1 under the progress display; true when every step
    // succeeded and the user did not cancel before the last one.
    bool eachItem(const QString& text, qsizetype count, const std::function<bool(qsizetype)>& step);
    bool transfer(const QString& from, const QString& to, Transfer kind);
    const MountTable& mounts();

    Prompter* m_prompter = nullptr;
    Progress* m_progress = nullptr;
    QPointer<QObject> m_target;
    quint32 m_flags = 0;
    std::shared_ptr<MountTable> m_mounts;
    QElapsedTimer m_mountsRead;
};
