#pragma once

#include "templates/FolderTemplate.h"

// The options a run reads, at the moment it needs each one: the settings dialog may change
// them between two runs, and a run takes them as they are then.
class RunOptions
{
public:
    virtual bool confirmExisting() const = 0;
    virtual bool deleteNonEmpty() const = 0;
    // What every folder a create run makes gets inside; none unless chosen.
    virtual FolderTemplate folderTemplate() const { return {}; }

protected:
    ~RunOptions() = default;
};
