#pragma once

#include "fileops/FileSystem.h"

#include <QByteArray>
#include <QHash>
#include <QSet>

#include <functional>
#include <memory>
#include <vector>

// Takes items back out of a freedesktop.org trash to the places their info files name. What
// is asked comes from a record on disk that anyone could have edited, so nothing of it is
// believed: the trash must be ours and where the rules put one, the entry and its info file
// must be the recorded ones, and the info file must still name the place. An item moves only
// by rename(2) into a folder that stands at its place, never over anything, never to another
// volume; its info file goes after it arrived, so a kill in between leaves every item either
// back (with a stale info file, which the next attempt removes) or still in the trash with
// its info file.
//
// HOME and XDG_DATA_HOME are read when the object is made; one object serves one batch.
class TrashRestore
{
public:
    TrashRestore();
    ~TrashRestore();
    TrashRestore(const TrashRestore&) = delete;
    TrashRestore& operator=(const TrashRestore&) = delete;

    // With `dryRun` nothing changes; an item whose folder an earlier item of the batch would
    // bring back counts as restorable.
    RestoreResult restore(const TrashPlace& place, bool dryRun);
    // Pushes the renames and removals to the disk; the destructor does it too.
    void flush();

    // For tests: called with the item's original path after every check, right before it
    // moves.
    void setBeforeMove(std::function<void(const QString&)> hook) { m_beforeMove = std::move(hook); }

private:
    struct Trash;
    Trash* trashOf(const TrashPlace& place);
    int openParent(const QByteArray& parent, int& error);
    void closeParent();

    QByteArray m_homeTrash;
    std::vector<std::unique_ptr<Trash>> m_trashes;
    QByteArray m_parent;
    int m_parentFd = -1;
    bool m_parentDirty = false;
    QSet<QByteArray> m_planned; // a dry run's originals that would come back
    std::function<void(const QString&)> m_beforeMove;
};
