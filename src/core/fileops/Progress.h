#pragma once

#include <QString>

// The progress display of a long file operation, with a cancel button. Core reports every
// item; an implementation decides how often it actually repaints.
class Progress
{
public:
    virtual ~Progress() = default;

    // Shows `text` for a run of `total` items.
    virtual void start(const QString& text, qsizetype total) = 0;
    // `done` items are finished; false once the user asked to cancel.
    virtual bool advance(qsizetype done) = 0;
    // Closes the display.
    virtual void finish() = 0;
};
