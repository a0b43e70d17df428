#pragma once

#include "PathStyle.h"
#include "run/CreationRecord.h"

#include <QStringList>

class FileSystem;
class Options;
class Prompter;
class RunContext;

// The per-folder steps that every run shares, series and list alike, with the one memory that
// outlives a step: the Ignore answer to the existing-folder question. One instance serves the
// whole program, so every run sees the same answer memory.
class FolderSteps
{
public:
    FolderSteps(FileSystem& fs, Prompter& prompter, const Options& options, PathStyle style);

    // Creates one folder with its missing parents and handles every answer of the file
    // system; true means the run must stop.
    bool createOneFolder(const QString& path);
    // Sends the existing folders among `paths` to the trash in one operation (folders that
    // hold files only when the option says so) and reports the missing ones; true when the
    // trash operation succeeded. With a context the window keeps painting meanwhile.
    bool deleteFolders(const QStringList& paths, RunContext* context = nullptr);

    // Creates a folder with its missing parents and puts what it made on record; returns the
    // file system's result code.
    int createFolder(const QString& path);

    // What the folder steps of the current run did, for a summary.
    struct Tally {
        int created = 0;
        int existing = 0; // skipped, or answered Retry or Ignore
        int failed = 0;
        int trashed = 0;
        int kept = 0;    // left in place because it holds files
        int missing = 0; // to be trashed, but not there
        int notTrashed = 0;
    };
    const Tally& tally() const { return m_tally; }

    // The Ignore answer to the existing-folder question holds until the next run starts.
    bool ignoreExisting() const { return m_ignoreExisting; }
    void startRun()
    {
        m_ignoreExisting = false;
        m_tally = {};
    }
    // A create run begins to make folders: the record of the previous one is dropped.
    void startCreating();

    // What the last create run made, for taking it back.
    CreationRecord& lastCreation() { return m_record; }
    // Sends what the last create run made to the trash, deepest first, in one operation with
    // its one confirmation; what has received anything since stays and is named afterwards.
    // A failed trash keeps the record, so the user can try again.
    void undoLastCreation();

    FileSystem& fileSystem() const { return m_fs; }
    Prompter& prompter() const { return m_prompter; }
    const Options& options() const { return m_options; }
    PathStyle style() const { return m_style; }

private:
    FileSystem& m_fs;
    Prompter& m_prompter;
    const Options& m_options;
    PathStyle m_style;
    bool m_ignoreExisting = false;
    CreationRecord m_record;
    Tally m_tally;
};
