#pragma once

#include "series/SeriesRules.h"

#include <QWidget>

class QLineEdit;
class QToolButton;

// An up-down spinner bound to a text field: it steps the field's number by one within the
// field's range and writes the result into the field's text, where the field's own change
// rule checks it like typed input. It never takes the focus.
class UpDown : public QWidget
{
    Q_OBJECT

public:
    UpDown(QLineEdit* buddy, const NumberField& field, QWidget* parent = nullptr);

    // The tip shows on the spinner and its buttons; a screen reader names the spinner as its
    // field, and each button by what it does.
    void describe(const QString& fieldName, const QString& tip);

    void stepUp();
    void stepDown();

private:
    void step(int keyCode);

    QLineEdit* m_buddy;
    NumberField m_field;
    QToolButton* m_up;
    QToolButton* m_down;
};
