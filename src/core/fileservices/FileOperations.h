#pragma once

#include "fileops/FileSystem.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class HostFileSystem;

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

// Move, copy, rename and delete on NUL-separated path lists, with one confirmation, a progress
// display and the trash, the way the Windows shell's file operation does them. Nothing is ever
// overwritten, and a folder goes to the trash only on its own volume.
class FileOperations
{
public:
    // The host lends its prompter, its progress display, its folder creation and its trash.
    explicit FileOperations(HostFileSystem& host);

    bool move(const QString& from, const QString& to);
    bool copy(const QString& from, const QString& to);
    bool rename(const QString& from, const QString& to);
    // Deletes for good, or to the trash while AllowUndo is set.
    bool deleteFiles(const QString& from);
    // To the trash: sets AllowUndo, which stays set.
    bool recycled(const QString& pathList);

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
    bool removeItems(const QStringList& items);
    // Runs `step` for items 0..count-1 under the progress display; true when every step
    // succeeded and the user did not cancel before the last one.
    bool eachItem(const QString& text, qsizetype count, const std::function<bool(qsizetype)>& step);
    bool transfer(const QString& from, const QString& to, Transfer kind);

    HostFileSystem& m_host;
    QPointer<QObject> m_target;
    quint32 m_flags = 0;
};
