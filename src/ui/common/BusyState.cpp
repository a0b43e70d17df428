#include "BusyState.h"

#include "WindowRunContext.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

BusyState::BusyState(Parts parts) : m_parts(std::move(parts)) {}

QString BusyState::cancelCaption()
{
    return QCoreApplication::translate("BusyState", "ｷｬﾝｾﾙ");
}

QString BusyState::cancelTip()
{
    return QCoreApplication::translate("BusyState", "処理を中断します");
}

void BusyState::enter()
{
    // A cancel pressed as the previous run ended must not stop this one at its first step.
    setTag(m_parts.window, QString());
    m_busy = true;
    m_parts.window->setCursor(Qt::WaitCursor);
    // A disabled menu leaves its items' shortcuts alive, so the items go off one by one.
    for (QMenu* menu : m_parts.menus) {
        menu->menuAction()->setEnabled(false);
        for (QAction* action : menu->actions())
            action->setEnabled(false);
    }
    for (QAbstractButton* b : m_parts.runButtons)
        b->setEnabled(false);
    m_parts.exitButton->setText(cancelCaption());
    m_parts.exitButton->setToolTip(cancelTip());
    setTag(m_parts.exitButton, cancelTag);
}

void BusyState::leave()
{
    setTag(m_parts.exitButton, QString());
    m_parts.exitButton->setText(m_parts.exitCaption);
    m_parts.exitButton->setToolTip(m_parts.exitTip);
    for (QAbstractButton* b : m_parts.runButtons)
        b->setEnabled(true);
    m_parts.window->unsetCursor();
    for (QMenu* menu : m_parts.menus) {
        menu->menuAction()->setEnabled(true);
        for (QAction* action : menu->actions())
            action->setEnabled(true);
    }
    m_busy = false;
}

bool BusyState::requestCancel(const std::function<void()>& notice)
{
    if (tagOf(m_parts.exitButton) != cancelTag)
        return false;
    if (notice)
        notice();
    setTag(m_parts.window, cancelTag);
    return true;
}

bool BusyState::holdClose(QCloseEvent* event)
{
    if (!m_busy)
        return false;
    // Nothing is released under a running run: ask it to stop and close once it has.
    setTag(m_parts.window, cancelTag);
    m_closeAfterRun = true;
    event->ignore();
    return true;
}

bool BusyState::takeCloseAfterRun()
{
    return std::exchange(m_closeAfterRun, false);
}
