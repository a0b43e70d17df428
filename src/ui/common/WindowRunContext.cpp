#include "WindowRunContext.h"

#include <QCoreApplication>
#include <QVariant>
#include <QWidget>

QString tagOf(const QObject* object)
{
    return object->property("tag").toString();
}

void setTag(QObject* object, const QString& tag)
{
    object->setProperty("tag", tag);
}

WindowRunContext::WindowRunContext(QWidget* window, QObject* cancelButton, ProgressSink sink)
    : m_window(window), m_cancelButton(cancelButton), m_sink(std::move(sink))
{
}

void WindowRunContext::yieldOnce()
{
    QCoreApplication::processEvents();
}

bool WindowRunContext::isCancelRequested()
{
    if (tagOf(m_window) != cancelTag)
        return false;
    setTag(m_cancelButton, QString());
    setTag(m_window, QString());
    return true;
}

void WindowRunContext::reportProgress(int done, int total)
{
    if (!m_sink)
        return;
    if (done != total && m_sinceShown.isValid() && m_sinceShown.elapsed() < 100)
        return;
    m_sinceShown.start();
    m_sink(done, total);
}
