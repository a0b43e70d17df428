#include "ScriptedPrompter.h"

int ScriptedPrompter::prompt(const PromptRequest& request)
{
    shown << request;
    if (onPrompt)
        onPrompt(request);
    if (!answers.isEmpty())
        return answers.takeFirst();
    switch (request.style & MessageStyle::ButtonsMask) {
    case MessageStyle::AbortRetryIgnore:
        return Answer::Abort;
    case MessageStyle::YesNoCancel:
    case MessageStyle::YesNo:
        return Answer::Yes;
    default:
        return Answer::Ok;
    }
}

QList<int> ScriptedPrompter::numbers() const
{
    QList<int> n;
    for (const PromptRequest& r : shown)
        n << r.number;
    return n;
}

void ScriptedPrompter::clear()
{
    shown.clear();
    answers.clear();
}
