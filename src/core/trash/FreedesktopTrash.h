#pragma once

#include "fileops/FileSystem.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Every Unix but macOS keeps its trash in the freedesktop.org layout.
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#define NMAKER_FREEDESKTOP_TRASH 1
#endif

#include <functional>
#include <memory>
#include <vector>

// The trash of the freedesktop.org layout (files/ and info/ with a .trashinfo per item), so
// that the desktop's own "restore" brings items back. Items only ever move by rename(2) into
// a trash on their own volume: whatever cannot go there stays where it is.
//
// The item that moves is the item that was checked: each item's parent folder is opened once
// and the item renamed relative to it, after its node was compared with the expected one and
// its contents were looked at again; a rename that caught another item is put back. No trash
// folder of any volume, nor a folder holding one, is ever moved.
//
// HOME and XDG_DATA_HOME are read when the object is made; one object serves one batch.
class MountTable;
namespace posix
{
struct Node;
}

class FreedesktopTrash
{
public:
    FreedesktopTrash();
    ~FreedesktopTrash();
    FreedesktopTrash(const FreedesktopTrash&) = delete;
    FreedesktopTrash& operator=(const FreedesktopTrash&) = delete;

    // Trashed only when the item sits in a trash's files/ with a complete .trashinfo and is
    // gone from its place; in every other case the item is where it was and no .trashinfo of
    // it is left behind. `expected`, when known, must be the node found at `path`.
    TrashResult moveToTrash(const QString& path, const FolderId& expected = {},
                            TrashItem::KeepIf keepIf = TrashItem::KeepIf::Never);

    // Pushes the .trashinfo files written so far to the disk; the destructor does it too.
    void flush();

    // The home trash folder, empty when neither XDG_DATA_HOME nor HOME names an absolute one.
    QString homeTrashPath() const { return QString::fromLocal8Bit(m_homeTrash); }

    // For tests: called with the item's path after every check, right before it moves.
    void setBeforeMove(std::function<void(const QString&)> hook) { m_beforeMove = std::move(hook); }

    // The home trash as HOME and XDG_DATA_HOME name it; empty when neither is absolute.
    // `notText` when HOME or XDG_DATA_HOME is no text in the file-name encoding (then empty).
    static QByteArray homeTrashOfEnvironment(bool* notText = nullptr);

    // The .trashinfo Path value: every byte but unreserved characters and '/' percent-encoded.
    static QByteArray encodePath(const QByteArray& path);

private:
    struct Volume;
    struct TrashDir;

    Volume* volumeOf(const QByteArray& canonicalDir, quint64 dev, quint64 mnt);
    TrashDir* homeTrash();
    TrashDir* topdirTrash(const QByteArray& topdir);
    bool openParent(const QByteArray& parent, TrashResult& failure);
    bool isTrashFolder(const QByteArray& canonicalPath);
    // The info file written, and `stamp` of it as written.
    int writeInfo(TrashDir& trash, const QByteArray& infoName, const QByteArray& content,
                  posix::Node* stamp);
    const QByteArray& deletionDate();

    QByteArray m_homeTrash;
    bool m_homeNotText = false;
    QByteArray m_homeTrashReal; // with links resolved, once it exists
    bool m_homeKnown = false;
    quint64 m_homeDev = 0;
    quint64 m_homeMnt = 0;
    std::unique_ptr<TrashDir> m_home;
    std::vector<std::unique_ptr<TrashDir>> m_topdirTrashes;
    std::vector<std::unique_ptr<Volume>> m_volumes;

    // The parent folder of the latest item, open, since a batch mostly shares one.
    QByteArray m_parent;
    QByteArray m_parentReal;
    int m_parentFd = -1;
    Volume* m_parentVolume = nullptr;

    QByteArray m_info; // the latest item's .trashinfo text
    QByteArray m_full; // and its path
    long long m_dateTime = -1;
    QByteArray m_date;
    quint32 m_suffixSeed = 0;
    std::unique_ptr<MountTable> m_mounts; // read at the first item of the batch
    std::function<void(const QString&)> m_beforeMove;
};
