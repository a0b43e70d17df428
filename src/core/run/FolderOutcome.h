#pragma once

#include <QString>

// What a run did with one folder.
enum class FolderOutcome {
    Created,  // made by this run
    Existing, // there already, left as it was
    Failed,   // could not be made, or could not go to the trash
    Trashed,  // in the trash, restorable
    Kept,     // to go, but left in place: it holds something, or it is another folder now
    Missing   // to go, but not there
};

// What kind of run the folders belong to.
enum class RunKind { Create, Delete, Undo };

struct FolderEvent {
    FolderOutcome outcome = FolderOutcome::Failed;
    QString path;
    QString reason; // for a failed or kept folder: why, as the user reads it
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
} // namespace FolderReason
