#pragma once

#include "fileops/Progress.h"

#include <QElapsedTimer>
#include <QPointer>

#include <memory>

class QProgressDialog;
class QWidget;

// The progress of a file operation as a modal QProgressDialog with a cancel button. It
// repaints a few times a second at most, so a long run is not slowed down by drawing.
class DialogProgress : public Progress
{
public:
    explicit DialogProgress(QWidget* parent = nullptr);
    ~DialogProgress() override;

    void setParent(QWidget* parent) { m_parent = parent; }

    void start(const QString& text, qsizetype total) override;
    bool advance(qsizetype done) override;
    void finish() override;

    // The open dialog, null outside a run.
    QProgressDialog* dialog() const { return m_dialog.get(); }

    static constexpr qint64 UpdateIntervalMs = 50;

private:
    QPointer<QWidget> m_parent;
    std::unique_ptr<QProgressDialog> m_dialog;
    QElapsedTimer m_clock;
    qint64 m_lastUpdate = 0;
    qsizetype m_total = 0;
    bool m_cancelled = false;
};
