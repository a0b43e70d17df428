#pragma once

#include <QPushButton>
#include <QStringList>

// A push button whose caption wraps onto several lines, packed closely enough that two lines
// fit the height of an ordinary button. text() stays the caption as given.
class WrapButton : public QPushButton
{
    Q_OBJECT

public:
    explicit WrapButton(const QString& text, QWidget* parent = nullptr);

    // The caption as it is drawn, one entry per line.
    QStringList wrappedLines() const;
    // The room the caption gets, and the height of one drawn line.
    QRect captionRect() const;
    int lineStep() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList linesFor(int width) const;
};
