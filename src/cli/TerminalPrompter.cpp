#include "TerminalPrompter.h"

#include "TerminalText.h"

#include "messages/MessageCatalogue.h"
#include "run/RunReport.h"
#include "templates/FolderTemplate.h"

#include <algorithm>

int TerminalPrompter::prompt(const PromptRequest& request)
{
    const bool question = (request.style & MessageStyle::ButtonsMask) != MessageStyle::Ok;
    if (question && request.unattended != Answer::None)
        return request.unattended;
    if (!request.toldByOutcome)
        m_err.line(QStringLiteral("nmaker: ") + lines(request.text));
    // A question nobody can answer is declined.
    return question ? Answer::No : Answer::Ok;
}

void FailureLines::folderDone(const FolderEvent& event)
{
    // Taking a run back: every folder that stays as it was is named, with why.
    const bool undo = m_kind == RunKind::Undo || m_kind == RunKind::Restore;
    if (undo && event.outcome != FolderOutcome::Restored &&
        event.outcome != FolderOutcome::Trashed) {
        m_failed = true;
        QString text = terminalName(event.path) + QStringLiteral(": ") + outcomeText(event.outcome);
        if (!event.reason.isEmpty())
            text += QStringLiteral(" (") + oneLine(event.reason) + QLatin1Char(')');
        m_err.line(text);
        return;
    }
    // A folder made without all of its template's copy is no success for a script.
    if (event.copy && firstFailure(*event.copy))
        m_failed = true;
    if (event.outcome != FolderOutcome::Failed) {
        if (m_verbose) {
            QString text =
                outcomeText(event.outcome) + QStringLiteral(": ") + terminalName(event.path);
            if (!event.reason.isEmpty())
                text += QStringLiteral(" (") + oneLine(event.reason) + QLatin1Char(')');
            m_err.line(text);
        }
        return;
    }
    m_failed = true;
    QString text;
    if (m_create || event.target) {
        text = oneLine(event.reason);
    } else {
        const auto trashFailed = catalogueMessage(16);
        text = trashFailed ? trashFailed->text : QString();
        if (!event.reason.isEmpty())
            text += QStringLiteral(" (") + oneLine(event.reason) + QLatin1Char(')');
    }
    m_err.line(terminalName(event.path) + QStringLiteral(": ") + text);
}

void TerminalRun::yieldOnce()
{
    // List runs report nothing themselves: their steps are their progress.
    if (!m_reported)
        m_err.progress(m_label, std::min(++m_done, m_steps), m_steps);
}

void TerminalRun::reportProgress(int done, int total)
{
    m_reported = true;
    m_err.progress(m_label, done, total);
}
