#pragma once

#include "fileops/Progress.h"

#include <QString>

// A progress display that records what it is told and can press cancel at a given count.
class RecordingProgress : public Progress
{
public:
    void start(const QString& text, qsizetype total) override;
    bool advance(qsizetype done) override;
    void finish() override;

    qsizetype cancelAt = -1; // advance(done) answers false from this count on
    int starts = 0;
    int finishes = 0;
    QString text;
    qsizetype total = -1;
    qsizetype lastDone = -1;
};
