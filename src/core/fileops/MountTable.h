#pragma once

#include <QSet>

#include <utility>

// The folders that hold a mounted volume somewhere below them, known by device and inode.
// Sending such a folder to the trash would carry the mounted volume into the trash with it,
// where emptying the trash deletes its files. One look at the mount table serves a batch.
class MountTable
{
public:
    // The mount table of this moment; empty where the host does not tell.
    static MountTable current();

    // True when the folder with this device and inode has a mount point below it.
    bool hasMountBelow(quint64 dev, quint64 ino) const;
    // The same for a folder given by its host path (links followed).
    bool hasMountBelow(const QString& folder) const;

private:
    QSet<std::pair<quint64, quint64>> m_holders;
};
