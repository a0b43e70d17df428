#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs `action` once a modal window is up, e.g. to press the buttons of the list window a
// command opened. Runs yield on the way there, so it is polled for, not expected at once.
inline void whenModal(std::function<void(QWidget*)> action)
{
    auto* poll = new QTimer;
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        }
    });
    poll->start();
}
