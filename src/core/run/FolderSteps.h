#pragma once

#include "PathStyle.h"

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

    // The Ignore answer to the existing-folder question holds until the next run starts.
    bool ignoreExisting() const { return m_ignoreExisting; }
    void startRun() { m_ignoreExisting = false; }

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
};
