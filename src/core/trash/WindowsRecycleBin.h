#pragma once

#include <QtGlobal>

#ifdef Q_OS_WIN

#include "fileops/FileSystem.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

// The Windows recycle bin, through the shell's file operation, that never deletes outright.
//
// Each item is opened, compared with the expected one and (by its KeepIf) looked into through
// that handle, and checked once more right before the shell gets it. The shell gets one item
// per operation, so that a refused item stops nothing else. With IFileOperation the progress
// sink refuses an item the shell would not put in the recycle bin, and an item counts as
// recycled only when the sink reported its new recycle-bin item and the item is gone from its
// place. Where IFileOperation is not implemented (Wine), SHFileOperationW with FOF_ALLOWUNDO
// and FOF_WANTNUKEWARNING does the move, and the recycle bin's own listing must show a new
// entry from the item's place once the batch is done (settle()).
//
// One object serves one batch, on the thread that runs it.
class WindowsRecycleBin
{
public:
    WindowsRecycleBin();
    ~WindowsRecycleBin();
    WindowsRecycleBin(const WindowsRecycleBin&) = delete;
    WindowsRecycleBin& operator=(const WindowsRecycleBin&) = delete;

    // One result per call; a result the recycle bin's listing still has to confirm is given
    // as Trashed and checked by settle().
    TrashResult moveToRecycleBin(const QString& path, const FolderId& expected = {},
                                 TrashItem::KeepIf keepIf = TrashItem::KeepIf::Never);
    // Confirms the results left open, `results` holding one result per call in call order:
    // an item gone from its place without a new recycle-bin entry becomes Failed.
    void settle(QList<TrashResult>& results);

    // For tests: called with the item's path after every check, right before the shell.
    void setBeforeMove(std::function<void(const QString&)> hook) { m_beforeMove = std::move(hook); }
    // For tests: does what the shell's operation would (or would not) do to the cleaned path,
    // in its place; what became of the item is then checked as for the shell.
    void setShell(std::function<void(const QString&)> shell) { m_shell = std::move(shell); }

    // Where each entry of the recycle bin came from (its full original path), as the shell's
    // listing tells it; nothing when the recycle bin cannot be listed.
    static std::optional<QStringList> originalPaths();

    // Where an item recycled from `original` lies now, `recycled` being its "$R…" entry as the
    // shell handed it over: the recycle-bin folder, the entry and its "$I…" record, what
    // identifies both and the record's size and deletion time. Unknown unless the record is
    // there and names `original`.
    static TrashPlace placeOf(const QString& recycled, const QString& original);

private:
    enum class Shell { Untried, FileOperation, OldOperation };
    struct Outcome {
        bool ran = false;             // the shell took the item
        bool refusedOutright = false; // it would have deleted it outright, and was stopped
        bool recycled = false;        // the shell reported the new recycle-bin item
        QString recycledPath;         // that item, where the shell told it
        bool confirmLater = false;    // to be confirmed through the listing
        QString why;                  // when it did not run
    };
    Outcome recycleWithFileOperation(const QString& cleanPath);
    Outcome recycleWithOldOperation(const QString& cleanPath);
    static std::optional<QHash<QString, int>> countsByOrigin();

    bool m_comStarted = false;
    Shell m_shellKind = Shell::Untried;
    qsizetype m_calls = 0;
    struct Pending {
        qsizetype index;
        QString key;
    };
    QList<Pending> m_pending;
    std::optional<QHash<QString, int>> m_before;
    std::function<void(const QString&)> m_beforeMove;
    std::function<void(const QString&)> m_shell;
};

// Takes items back out of the recycle bin to the places their "$I" records name. The record
// on disk is believed no more than on Linux: the recycle-bin folder must be this user's on
// that volume, the "$R" entry and its "$I" record must be the recorded ones (identity, size,
// deletion time), and the record must still name the place. The entry is moved through the
// handle it was checked by, into the folder that stands at its place, never over anything and
// never to another volume; its record goes once it arrived.
class RecycleBinRestore
{
public:
    RecycleBinRestore();

    // With `dryRun` nothing changes; an item whose folder an earlier item of the batch would
    // bring back counts as restorable.
    RestoreResult restore(const TrashPlace& place, bool dryRun);

    // For tests: called with the item's original path after every check, right before it
    // moves.
    void setBeforeMove(std::function<void(const QString&)> hook) { m_beforeMove = std::move(hook); }

    // The string form of the user's security identifier, the name of the user's folder in
    // every recycle bin; empty when it cannot be read.
    static QString userSid();

private:
    QString m_sid;
    QSet<QString> m_planned; // a dry run's originals that would come back, case-folded
    std::function<void(const QString&)> m_beforeMove;
};

#endif
