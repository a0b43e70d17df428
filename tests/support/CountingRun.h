#pragma once

#include "run/RunContext.h"

#include <utility>

// A run context that counts its yields; a cancel request can be made to arrive at a given one.
struct CountingRun : RunContext {
    int yields = 0;
    int cancelAtYield = -1;
    bool pending = false;
    void yieldOnce() override
    {
        if (++yields == cancelAtYield)
            pending = true;
    }
    bool isCancelRequested() override { return std::exchange(pending, false); }
};
