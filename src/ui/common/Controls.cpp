#include "Controls.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& tip, const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}
