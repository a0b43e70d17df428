#pragma once

#include "TerminalOutput.h"

#include "messages/Prompter.h"
#include "run/FolderOutcome.h"
#include "run/RunContext.h"

// Never asks: each question gets the answer its catalogue entry gives a run that nobody
// watches, and a box that only tells what the folders' outcomes hold already is left out, since
// FailureLines and the summary say it. Any other box becomes a line.
class TerminalPrompter : public Prompter
{
public:
    explicit TerminalPrompter(ErrorOutput& err) : m_err(err) {}

    int prompt(const PromptRequest& request) override;

private:
    ErrorOutput& m_err;
};

// A line for every folder that could not be made or trashed, naming it; and whether any did.
// Verbose: a line for every other folder too, with its outcome.
class FailureLines : public FolderListener
{
public:
    FailureLines(ErrorOutput& err, bool create) : m_err(err), m_create(create) {}

    void folderDone(const FolderEvent& event) override;
    void runStarted(RunKind kind) override { m_kind = kind; }
    // Also true when a run that takes another back left any folder as it was.
    bool anyFailed() const { return m_failed; }
    void setVerbose(bool verbose) { m_verbose = verbose; }

private:
    ErrorOutput& m_err;
    bool m_create;
    RunKind m_kind = RunKind::Create;
    bool m_failed = false;
    bool m_verbose = false;
};

// No window, so nothing to yield to and no cancel button; the progress goes to the terminal.
class TerminalRun : public RunContext
{
public:
    TerminalRun(ErrorOutput& err, QString label, qint64 steps)
        : m_err(err), m_label(std::move(label)), m_steps(steps)
    {
    }

    void yieldOnce() override;
    bool isCancelRequested() override { return false; }
    void reportProgress(int done, int total) override;

private:
    ErrorOutput& m_err;
    QString m_label;
    qint64 m_steps;
    qint64 m_done = 0;
    bool m_reported = false;
};
