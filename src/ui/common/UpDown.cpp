#include "UpDown.h"

#include "Accessible.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

UpDown::UpDown(QLineEdit* buddy, const NumberField& field, QWidget* parent)
    : QWidget(parent), m_buddy(buddy), m_field(field), m_up(new QToolButton(this)),
      m_down(new QToolButton(this))
{
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {m_up, m_down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setObjectName(QStringLiteral("down"));
    setReaderName(m_up, tr("1 増やす"));
    setReaderName(m_down, tr("1 減らす"));
    connect(m_up, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::stepDown);
}

void UpDown::describe(const QString& fieldName, const QString& tip)
{
    setReaderName(this, fieldName);
    setToolTip(tip);
    m_up->setToolTip(tip);
    m_down->setToolTip(tip);
}

void UpDown::stepUp()
{
    step(KeyCode::Up);
}
void UpDown::stepDown()
{
    step(KeyCode::Down);
}

void UpDown::step(int keyCode)
{
    m_buddy->setText(stepNumberText(m_buddy->text(), m_field, keyCode));
}
