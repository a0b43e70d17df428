#pragma once

#include "run/RunContext.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>

class QObject;
class QWidget;

// The free-form tag every window and control carries; the cancel protocol is two of them:
// "cancel" on the window's cmdExit while a run is in progress, and "cancel" on the window
// once the user asked it to stop.
QString tagOf(const QObject* object);
void setTag(QObject* object, const QString& tag);
inline const QString cancelTag = QStringLiteral("cancel");

// The run context of a window with the cancel protocol. Progress goes to a callback at most
// a few times a second, so a run of 100,000 folders does not spend its time repainting.
class WindowRunContext : public RunContext
{
public:
    using ProgressSink = std::function<void(int done, int total)>;

    // `cancelButton` is the window's cmdExit, whose cancel mark the test clears with the
    // window's request.
    WindowRunContext(QWidget* window, QObject* cancelButton, ProgressSink sink = {});

    void yieldOnce() override;
    bool isCancelRequested() override;
    void reportProgress(int done, int total) override;

private:
    QWidget* m_window;
    QObject* m_cancelButton;
    ProgressSink m_sink;
    QElapsedTimer m_sinceShown;
};
