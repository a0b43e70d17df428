#pragma once

#include "PathStyle.h"
#include "series/SeriesRules.h"

#include <QStringList>

class FileSystem;
class Options;
class Prompter;
class RunContext;

// Creates a numbered series of folders, or sends it to the trash. The per-folder steps
// (createOneFolder, deleteFolders) know nothing of series, so folder-list runs use them too.
class SeriesEngine
{
public:
    SeriesEngine(FileSystem& fs, Prompter& prompter, const Options& options, PathStyle style);

    void createSeries(const SeriesParameters& p, RunContext& context);
    void deleteSeries(const SeriesParameters& p, RunContext& context);

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

private:
    FileSystem& m_fs;
    Prompter& m_prompter;
    const Options& m_options;
    PathStyle m_style;
    bool m_ignoreExisting = false;
};
