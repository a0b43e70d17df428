#pragma once

#include "run/StopRequest.h"

#include <exception>

// What a run needs from the window it runs in: a chance for pending input once per folder,
// and the cancel request that the window's cancel button leaves behind.
class RunContext
{
public:
    virtual ~RunContext() = default;

    // Lets the window repaint and handle pending input (among it the cancel button).
    virtual void yieldOnce() = 0;
    // True once after the user asked the window to stop; reading clears the request.
    virtual bool isCancelRequested() = 0;
    // `done` of `total` items are through; the window shows it when it likes.
    virtual void reportProgress(int done, int total)
    {
        (void)done;
        (void)total;
    }

    // Before every folder or line of a run: pending input gets its chance, then a cancel asked
    // for meanwhile, or a stop asked of the whole program, ends the run. True means stop.
    bool nextStep()
    {
        yieldOnce();
        return isCancelRequested() || StopRequest::requested();
    }

    // One step of a run: nextStep(), then `body`, whose true also stops the run. A step that
    // fails unexpectedly is skipped and the run goes on with the next one.
    template <class Body> bool runStep(Body&& body)
    {
        if (nextStep())
            return true;
        try {
            return body();
        } catch (const std::exception&) {
            return false;
        }
    }
};

// A run context with nothing to show and nobody to cancel: for a run no window watches.
class QuietRun : public RunContext
{
public:
    void yieldOnce() override {}
    bool isCancelRequested() override { return false; }
};
