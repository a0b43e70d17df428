#pragma once

#include "PathStyle.h"
#include "fileops/FileSystem.h"
#include "run/CreationRecord.h"
#include "run/FolderOutcome.h"
#include "run/RunJournal.h"
#include "run/RunOptions.h"
#include "templates/FolderTemplate.h"

#include <QHash>
#include <QList>
#include <QStringList>

class FileSystem;

// What a delete run does with one path: leaves it out as missing, keeps it (it holds a file and
// folders with contents are kept), or sends it to the trash. The run and the dry runs ask this
// one question.
struct DeleteLook {
    enum class Verdict { Missing, Kept, Goes };
    Verdict verdict = Verdict::Missing;
    FolderLook look;
};
DeleteLook lookBeforeDelete(FileSystem& fs, const QString& path, bool withContents);

// Why an item taken back out of the trash stayed there (or came back), as the user reads it;
// empty for one that came back.
Reason restoreReason(const RestoreResult& result);

class Prompter;
class RunContext;

// The per-folder steps that every run shares, series and list alike, with the one memory that
// outlives a step: the Ignore answer to the existing-folder question. One instance serves the
// whole program, so every run sees the same answer memory. Every folder's outcome goes to the
// listeners as it is known.
class FolderSteps
{
public:
    FolderSteps(FileSystem& fs, Prompter& prompter, const RunOptions& options, PathStyle style);

    // Creates one folder with its missing parents and handles every answer of the file
    // system; a folder it made gets the run's template copy. True means the run must stop.
    // With a context, a cancel stops a copy at its next file.
    bool createOneFolder(const QString& path, RunContext* context = nullptr);
    // Before a create run makes anything: measures the template the options name (if any)
    // and checks it against the run's target (or each list folder) and the free space for
    // `copies` copies. False, after a box that says why, when the run must not start.
    bool prepareTemplate(const QString& target, const QStringList& folders, qsizetype copies);
    // The template the run that is being prepared or is going copies; null for none.
    const TemplatePlan* folderTemplate() const { return m_template ? &*m_template : nullptr; }
    // Sends the existing folders among `paths` to the trash in one operation (folders that
    // hold files only when the option says so) and reports the missing ones; true when the
    // trash operation succeeded. Each folder goes only while it is the one looked at, and is
    // looked at again for files as it moves. With a context the window keeps painting
    // meanwhile.
    bool deleteFolders(const QStringList& paths, RunContext* context = nullptr);

    // Creates a folder with its missing parents and puts what it made on record; returns the
    // file system's result code.
    int createFolder(const QString& path);
    // The run's target folder could not be made: told to the listeners, and by message 10.
    void targetFailed(const QString& path);
    // The run leaves this folder as it is, for this reason: told as a failure.
    void refuseFolder(const QString& path, const Reason& reason)
    {
        report(FolderOutcome::Failed, path, reason);
    }

    // What the folder steps of the current run did, for a summary.
    struct Tally {
        int created = 0;
        int existing = 0; // skipped, or answered Retry or Ignore
        int failed = 0;   // not made, or not trashed
        int trashed = 0;
        int kept = 0;    // left in place because it holds files, or was replaced
        int missing = 0; // to be trashed, but not there (or to come back, but gone)
        int restored = 0;
    };
    const Tally& tally() const { return m_tally; }

    void addListener(FolderListener* listener) { m_listeners.append(listener); }
    void removeListener(FolderListener* listener) { m_listeners.removeAll(listener); }
    bool hasListeners() const { return !m_listeners.isEmpty(); }

    // The Ignore answer to the existing-folder question holds until the next run starts.
    bool ignoreExisting() const { return m_ignoreExisting; }
    void startRun(RunKind kind)
    {
        m_ignoreExisting = false;
        m_template.reset();
        m_partial.clear();
        m_tally = {};
        m_lines.clear();
        for (FolderListener* listener : std::as_const(m_listeners))
            listener->runStarted(kind);
    }
    // Where the folders of the run that has started came from: each path's list line, told
    // with its outcome.
    void setLines(QHash<QString, qint64> lines) { m_lines = std::move(lines); }
    // A create run begins to make folders: it goes on record before the first one.
    void startCreating() { m_journal.beginRun(RunKind::Create); }
    // The run that started has ended: its record is closed, and a record that could not be
    // written is told once.
    void finishRun();

    // What is left of the last create run on record, for taking it back.
    const CreationRecord& lastCreation() { return m_journal.creation(); }
    // Where the trash put what the last delete run sent there, for taking it back.
    const QList<TrashPlace>& lastDeletion() { return m_journal.deletion(); }
    // The record of the runs on disk; memory only until a path is given.
    RunJournal& journal() { return m_journal; }

    // Which run a "take back" would take back: the newer of the last creation and the last
    // deletion that has anything left to take back; as the journal on disk has it now.
    enum class UndoTarget { None, Creation, Deletion };
    UndoTarget nextUndo();
    // Takes back what nextUndo names.
    void undoLast();
    // Sends what the last create run made to the trash, deepest first, in one operation with
    // its one confirmation; what has received anything since, or is another folder now,
    // stays and is named afterwards. A failed trash keeps the record, so the user can try
    // again.
    void undoLastCreation();
    // Moves what the last delete run sent to the trash back to where it was, parents first,
    // after one confirmation; never over anything that stands at a place now. One box at the
    // end tells how many came back and names what stayed in the trash, with why. What came
    // back, is gone or is another's now leaves the record; the rest stays on it.
    void undoLastDeletion();
    // The last deletion's items in the order they go back: each folder before what it held.
    QList<TrashPlace> restoreOrder();
    // The run nextUndo names is still going on in another process: said in a box, true.
    bool refuseRunning(UndoTarget target);

    FileSystem& fileSystem() const { return m_fs; }
    Prompter& prompter() const { return m_prompter; }
    const RunOptions& options() const { return m_options; }
    PathStyle style() const { return m_style; }

private:
    void report(FolderOutcome outcome, const QString& path, const Reason& reason = {},
                const TreeCopyResult* copy = nullptr);
    // Copies the template into the folder just made; true when the run must stop.
    bool copyTemplate(const QString& path, RunContext* context);
    // Reports each trash result; true when none of them failed.
    bool reportTrash(const QList<TrashItem>& items, const QList<TrashResult>& results,
                     bool replacedIsKept, QStringList* kept, QStringList* replaced,
                     QString* missing, QStringList* gone, QStringList* changed = nullptr);

    FileSystem& m_fs;
    Prompter& m_prompter;
    const RunOptions& m_options;
    PathStyle m_style;
    bool m_ignoreExisting = false;
    RunJournal m_journal;
    Tally m_tally;
    QList<FolderListener*> m_listeners;
    QHash<QString, qint64> m_lines;
    QList<MadeFolder> m_made;
    QString m_lastMade; // as the journal has it
    std::optional<TemplatePlan> m_template;
    QStringList m_partial; // folders whose copy did not arrive whole, with the first reason
};
