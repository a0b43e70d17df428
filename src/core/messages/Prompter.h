#pragma once

#include "MessageCatalogue.h"

#include <QString>

// One modal box: a catalogue message (number >= 0) or one of the few boxes outside it
// (number -1).
struct PromptRequest {
    int number = -1;
    QString text;
    int style = 0;
};

// The port through which core shows message boxes and gets the answer code back.
class Prompter
{
public:
    virtual ~Prompter() = default;

    // Shows the box and returns the answer code of the button pressed.
    virtual int prompt(const PromptRequest& request) = 0;

    // Shows catalogue message `number` with its own style and up to three inserts. A number
    // without an entry shows nothing and leaves `answer` alone.
    void showMessage(int number, int& answer, const QString& t1 = {}, const QString& t2 = {},
                     const QString& t3 = {});

    // The same, for callers that want the answer as a value (Answer::None when nothing showed).
    int ask(int number, const QString& t1 = {}, const QString& t2 = {}, const QString& t3 = {});
};
