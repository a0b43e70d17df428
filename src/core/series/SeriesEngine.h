#pragma once

#include "series/SeriesRules.h"

class FolderSteps;
class RunContext;

// Creates a numbered series of folders, or sends it to the trash, through the per-folder
// steps it shares with the folder-list runs.
class SeriesEngine
{
public:
    explicit SeriesEngine(FolderSteps& steps);

    void createSeries(const SeriesParameters& p, RunContext& context);
    void deleteSeries(const SeriesParameters& p, RunContext& context);

private:
    FolderSteps& m_steps;
};
