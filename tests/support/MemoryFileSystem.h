#pragma once

#include "fileops/FileSystem.h"

#include <QList>
#include <QMap>

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// A FileSystem in memory with Windows-style paths: drive letters, `\` (a `/` is read as `\`),
// names compared without case. Drive C: is present; others exist once added.
class MemoryFileSystem : public FileSystem
{
public:
    MemoryFileSystem();

    // Setting up. addFolder and addFile add the drive and every missing parent folder.
    void addDrive(const QString& drive); // "D:"
    void removeDrive(const QString& drive);
    void addFolder(const QString& path);
    void addFile(const QString& path, bool hidden = false);

    // Looking at the state.
    bool exists(const QString& path) const; // a folder, a file or a present drive's root
    bool isFolder(const QString& path) const;
    bool isFile(const QString& path) const;
    QStringList folders() const; // sorted, without drive roots, as first spelled
    QStringList files() const;

    // FileSystem
    bool folderExist(const QString& path) override;
    bool fileExist(const QString& pattern) override;
    int createFolder(const QString& path, QList<MadeFolder>* made = nullptr) override;
    FolderLook lookAtFolder(const QString& path, bool forFile) override;
    std::optional<QStringList> folderEntries(const QString& path) override;
    QList<TrashResult> trash(const QList<TrashItem>& items,
                             ItemObserver* observer = nullptr) override;

    // The trash as the named surface has it: every listed item as it stands.
    bool recycled(const QString& pathList);
    // Takes a folder or file away and makes it again: the same path, another node.
    void replace(const QString& path);

    // Knobs.
    QMap<QString, int> createResults;  // path (any case) -> code createFolder answers instead
    bool failRecycle = false;          // recycled answers false and removes nothing
    bool declineRecycle = false;       // as a declined confirmation: false, nothing removed
    qsizetype cancelRecycleAfter = -1; // removes this many items, then stops with false
    QStringList unreadable;            // lower-case keys of folders that cannot be listed
    // Called with each item's path right before it moves, as another process could act.
    std::function<void(const QString&)> beforeTrashMove;

    // Records.
    int folderExistCalls = 0;
    int fileExistCalls = 0;
    int createFolderCalls = 0;
    QStringList createdFolders;       // what createFolder was asked for and created, in order
    QList<QStringList> recycledCalls; // the items of every recycled call, empty lists included
    QStringList recycledItems;        // every item that went to the "trash", in order

    // "C:\a\b" from "c:/a/b/", empty for a path without a drive.
    static QString normalized(const QString& path);

private:
    struct Entry {
        QString spelling;
        bool folder = true;
        bool hidden = false;
        quint64 node = 0; // every new entry gets the next number
    };
    static QString keyOf(const QString& normalizedPath) { return normalizedPath.toLower(); }
    static QString driveOf(const QString& normalizedPath) { return normalizedPath.left(2); }
    bool drivePresent(const QString& normalizedPath) const;
    void removeTree(const QString& key);

    QStringList m_drives;           // lower case, "c:"
    QMap<QString, Entry> m_entries; // key: lower-case normalized path
    quint64 m_nextNode = 1;
};
