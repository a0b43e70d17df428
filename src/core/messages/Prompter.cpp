#include "Prompter.h"

void Prompter::showMessage(int number, int& answer, const QString& t1, const QString& t2,
                           const QString& t3)
{
    const auto message = catalogueMessage(number, t1, t2, t3);
    if (!message)
        return;
    answer = prompt(PromptRequest{number, message->text, message->style});
}

int Prompter::ask(int number, const QString& t1, const QString& t2, const QString& t3)
{
    int answer = Answer::None;
    showMessage(number, answer, t1, t2, t3);
    return answer;
}
