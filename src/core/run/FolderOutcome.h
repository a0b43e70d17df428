#pragma once

#include "Reason.h"
#include "fileops/FolderTree.h"

#include <QCoreApplication>
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
    const char* reasonCode = nullptr;     // the reason's stable code, for scripts
    const TreeCopyResult* copy = nullptr; // a created folder's template copy, if it got one
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
inline Reason holdsFiles()
{
    return {QCoreApplication::translate("FolderReason", "中身があるため"), "holds_files"};
}
inline Reason replaced()
{
    return {QCoreApplication::translate("FolderReason", "置き換えられたため"), "replaced"};
}
inline Reason replacedAfterCheck()
{
    return {QCoreApplication::translate("FolderReason", "確認の後に別のものに置き換えられたため"),
            "replaced"};
}
inline Reason trashCancelled()
{
    return {QCoreApplication::translate("FolderReason", "ごみ箱への移動が取り消されたため"),
            "cancelled"};
}
// Why a deleted folder stayed in the trash when its deletion was taken back.
inline Reason nameTaken()
{
    return {QCoreApplication::translate("FolderReason", "同じ名前のフォルダが既にあるため"),
            "name_taken"};
}
inline Reason noParent()
{
    return {QCoreApplication::translate("FolderReason", "元の場所のフォルダがないため"),
            "no_parent"};
}
inline Reason trashUnavailable()
{
    return {QCoreApplication::translate("FolderReason", "ごみ箱のあるボリュームが見つからないため"),
            "trash_unavailable"};
}
inline Reason notInTrash()
{
    return {QCoreApplication::translate("FolderReason", "ごみ箱にないため"), "not_in_trash"};
}
inline Reason badRecord()
{
    return {QCoreApplication::translate("FolderReason", "記録が正しくないため"), "bad_record"};
}
inline Reason notRestored()
{
    return {QCoreApplication::translate("FolderReason", "元に戻せなかったため"), "not_restored"};
}
inline Reason restoreCancelled()
{
    return {QCoreApplication::translate("FolderReason", "取り消されたため"), "cancelled"};
}
} // namespace FolderReason
