#include "DialogProgress.h"

#include "messages/MessageCatalogue.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <limits>

namespace
{
constexpr qsizetype MaxBarValue = std::numeric_limits<int>::max();
}

DialogProgress::DialogProgress(QWidget* parent) : m_parent(parent) {}

DialogProgress::~DialogProgress() = default;

void DialogProgress::start(const QString& text, qsizetype total)
{
    m_total = qBound<qsizetype>(0, total, MaxBarValue);
    m_cancelled = false;
    m_dialog = std::make_unique<QProgressDialog>(
        text, QCoreApplication::translate("DialogProgress", "キャンセル"), 0, int(m_total),
        m_parent);
    m_dialog->setWindowTitle(applicationTitle());
    // Modal, so that setValue lets the cancel button through while core keeps the thread.
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumDuration(500);
    m_dialog->setValue(0);
    m_clock.start();
    m_lastUpdate = 0;
}

bool DialogProgress::advance(qsizetype done)
{
    if (!m_dialog)
        return true;
    const qint64 now = m_clock.elapsed();
    if (now - m_lastUpdate >= UpdateIntervalMs || done >= m_total) {
        m_lastUpdate = now;
        m_dialog->setValue(int(qBound<qsizetype>(0, done, m_total)));
    }
    m_cancelled = m_cancelled || m_dialog->wasCanceled();
    return !m_cancelled;
}

void DialogProgress::finish()
{
    if (m_dialog) {
        m_dialog->close();
        m_dialog.reset();
    }
}
