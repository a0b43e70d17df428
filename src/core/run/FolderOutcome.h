#pragma once

#include <QString>

// What a run did with one folder.
enum class FolderOutcome {
    Created,  // made by this run
    Existing, // there already, left as it was
    Failed,   // could not be made, or could not go to the trash
    Trashed,  // in the trash, restorable
    Kept,     // to go, but left in place: it holds something, or it is another folder now
    Missing,  // to go, but not there
    Restored  // taken back out of the trash to its place
};

// What kind of run the folders belong to.
// Undo takes a creation back, Restore a deletion.
enum class RunKind { Create, Delete, Undo, Restore };

struct FolderEvent {
    FolderOutcome outcome = FolderOutcome::Failed;
    QString path;
    QString reason;      // for a failed or kept folder: why, as the user reads it
    bool target = false; // the run's target folder, not one of its folders: no count of a summary
    qint64 line = -1;    // the list line the folder came from (1 for the first), -1 for none
};

// Hears of every folder of a run as its outcome is known: the summary, the command line's
// lines, a report.
class FolderListener
{
public:
    virtual ~FolderListener() = default;
    virtual void folderDone(const FolderEvent& event) = 0;
    // A new run begins; the folders that follow are its own.
    virtual void runStarted(RunKind kind) { (void)kind; }
};

// The reasons the runs give.
namespace FolderReason
{
inline QString holdsFiles()
{
    return QStringLiteral("中身があるため");
}
inline QString replaced()
{
    return QStringLiteral("置き換えられたため");
}
// Why a deleted folder stayed in the trash when its deletion was taken back.
inline QString nameTaken()
{
    return QStringLiteral("同じ名前のフォルダが既にあるため");
}
inline QString noParent()
{
    return QStringLiteral("元の場所のフォルダがないため");
}
inline QString trashUnavailable()
{
    return QStringLiteral("ごみ箱のあるボリュームが見つからないため");
}
inline QString notInTrash()
{
    return QStringLiteral("ごみ箱にないため");
}
inline QString badRecord()
{
    return QStringLiteral("記録が正しくないため");
}
inline QString notRestored()
{
    return QStringLiteral("元に戻せなかったため");
}
} // namespace FolderReason
