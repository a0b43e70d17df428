#pragma once

#include "common/WindowRunContext.h"
#include "series/SeriesRules.h"

#include <QString>

class QWidget;

// What the list commands need of the window they are started from: its series checked (an
// export needs it), its target text (the base folder question names it), and its busy state
// for a command started there.
class ListHost
{
public:
    virtual ~ListHost() = default;

    // The window the list window belongs to.
    virtual QWidget* hostWindow() = 0;
    // Gathers and checks the series fields; on failure it has shown why and answers false.
    virtual bool validateSeries(SeriesParameters& out) = 0;
    // The target-folder field as typed.
    virtual QString targetText() const = 0;

    virtual bool isBusy() const = 0;
    // True while the host was asked to close during its busy state, so nothing new opens.
    virtual bool isClosing() const = 0;
    virtual void enterBusyState() = 0;
    virtual void leaveBusyState() = 0;
    // The run context of a command of the host window, its progress shown as `what`.
    virtual WindowRunContext runContext(const QString& what) = 0;
};
