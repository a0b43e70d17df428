#include "Prompter.h"

int Prompter::showMessage(int number, const QString& t1, const QString& t2, const QString& t3)
{
    const auto message = catalogueMessage(number, t1, t2, t3);
    if (!message)
        return Answer::None;
    return prompt(PromptRequest{number, message->text, message->style, message->unattended});
}

int Prompter::showOutcomeMessage(int number, const QString& t1)
{
    const auto message = catalogueMessage(number, t1);
    if (!message)
        return Answer::None;
    return prompt(PromptRequest{number, message->text, message->style, message->unattended, true});
}
