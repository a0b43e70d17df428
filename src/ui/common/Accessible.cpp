#include "Accessible.h"

#include <QString>
#include <QWidget>

void setReaderName([[maybe_unused]] QWidget* widget, [[maybe_unused]] const QString& name)
{
#if QT_CONFIG(accessibility)
    widget->setAccessibleName(name);
#endif
}

void setReaderDescription([[maybe_unused]] QWidget* widget,
                          [[maybe_unused]] const QString& description)
{
#if QT_CONFIG(accessibility)
    widget->setAccessibleDescription(description);
#endif
}
