#pragma once

#include "messages/Prompter.h"

#include <QList>

#include <functional>

// Answers boxes from a script and records what was shown. With the script used up it presses
// the first button, as Enter would.
class ScriptedPrompter : public Prompter
{
public:
    int prompt(const PromptRequest& request) override;

    QList<int> numbers() const;
    void clear();

    QList<PromptRequest> shown;
    QList<int> answers;
    // Called for every box while it is "open", e.g. to press a cancel button meanwhile.
    std::function<void(const PromptRequest&)> onPrompt;
};
