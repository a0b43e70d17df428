#pragma once

#include <QList>
#include <QString>

#include <functional>

class QAbstractButton;
class QCloseEvent;
class QMenu;
class QPushButton;
class QWidget;

// The busy state of a window while a run is in progress, and its half of the cancel protocol:
// the wait cursor, the menus and the run buttons off, the exit button turned into the cancel
// button. Its click then shows a notice and leaves a cancel request on the window, which the
// run reads (WindowRunContext); a close during a run is a cancel request too, and the window
// closes once the run is over.
class BusyState
{
public:
    struct Parts {
        QWidget* window = nullptr;
        QList<QMenu*> menus;
        QList<QAbstractButton*> runButtons;
        QPushButton* exitButton = nullptr;
        QString exitCaption; // the exit button's caption and tooltip when idle
        QString exitTip;
    };

    explicit BusyState(Parts parts);

    void enter();
    void leave();
    bool isBusy() const { return m_busy; }

    // The exit button's click: true when a run was asked to stop (after `notice`), false when
    // idle, so the caller closes.
    bool requestCancel(const std::function<void()>& notice);

    // A close of the window: during a run it is turned into a cancel request and ignored, and
    // takeCloseAfterRun() answers true once the run is over. False lets the close go ahead.
    bool holdClose(QCloseEvent* event);
    bool takeCloseAfterRun();
    // Whether a close is waiting for the run to end, without taking it.
    bool closeAfterRunPending() const { return m_closeAfterRun; }

    static QString cancelCaption();
    static QString cancelTip();

private:
    Parts m_parts;
    bool m_busy = false;
    bool m_closeAfterRun = false;
};
