#pragma once

#include "MessageCatalogue.h"

#include <QString>

// One modal box: a catalogue message (number >= 0) or one of the few boxes outside it
// (number -1).
struct PromptRequest {
    int number = -1;
    QString text;
    int style = 0;
    int unattended = Answer::None; // see CatalogueMessage
    // What the box says is in the folders' outcomes already (a failed folder, a failed trash):
    // a front end that reports those can leave the box out.
    bool toldByOutcome = false;
};

// The port through which core shows message boxes and gets the answer code back.
class Prompter
{
public:
    virtual ~Prompter() = default;

    // Shows the box and returns the answer code of the button pressed.
    virtual int prompt(const PromptRequest& request) = 0;

    // Shows catalogue message `number` with its own style and up to three inserts, and
    // returns the answer code; a number without an entry shows nothing and answers
    // Answer::None.
    int showMessage(int number, const QString& t1 = {}, const QString& t2 = {},
                    const QString& t3 = {});
    // The same for a box that tells what the folders' outcomes already hold.
    int showOutcomeMessage(int number, const QString& t1 = {});
};
