#pragma once

#include <QKeySequence>
#include <QRect>
#include <QString>

class QAction;
class QMenu;
class QPushButton;
class QWidget;

// A window's button, named after its control, placed in pixels. It never takes Enter as the
// default button: the windows press their buttons only when the user does.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& tip, const QRect& geometry);

// A menu item named after its control.
QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut = {});
