#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>

// A failed comparison inside a callback ends only the callback: the modal window it was to
// close stays up and the test would wait for it until CTest's timeout. Once the running test
// has failed, this closes every modal window, so that the test ends and says what failed.
// A member of a test class guards all of its tests.
class ModalGuard
{
public:
    ModalGuard()
    {
        m_timer.setInterval(100);
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            if (!QTest::currentTestFailed())
                return;
            for (int i = 0; i < 16; ++i) {
                QWidget* modal = QApplication::activeModalWidget();
                if (!modal)
                    break;
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
                else
                    modal->close();
            }
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};
