#include "RecordingProgress.h"

void RecordingProgress::start(const QString& startText, qsizetype startTotal)
{
    ++starts;
    text = startText;
    total = startTotal;
}

bool RecordingProgress::advance(qsizetype done)
{
    lastDone = done;
    return cancelAt < 0 || done < cancelAt;
}

void RecordingProgress::finish()
{
    ++finishes;
}
