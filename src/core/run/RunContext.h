#pragma once

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
    // `done` of `total` folders are through; the window shows it when it likes.
    virtual void reportProgress(int done, int total)
    {
        (void)done;
        (void)total;
    }
};
