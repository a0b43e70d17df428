#include "WrapButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>

WrapButton::WrapButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

QRect WrapButton::captionRect() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (linesFor(contents.width()).size() * lineStep() <= contents.height() + 4)
        return contents;
    // Some styles (Windows Vista's) keep wide margins inside the frame; with a taller font the
    // caption would be cut there, while the frame itself is only a few pixels wide.
    return rect().adjusted(3, 2, -3, -2);
}

int WrapButton::lineStep() const
{
    // Japanese glyphs fill about one em; the font's own line height leaves room for accents
    // this caption never has.
    const QFontInfo info(font());
    return qMax(info.pixelSize() + 2, fontMetrics().ascent());
}

QStringList WrapButton::wrappedLines() const
{
    return linesFor(captionRect().width());
}

QStringList WrapButton::linesFor(int width) const
{
    const QString caption = text();
    QTextLayout layout(caption, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << caption.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

void WrapButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect area = captionRect();
    const QStringList lines = wrappedLines();
    const int step = lineStep();
    int top = area.top() + (area.height() - step * int(lines.size())) / 2;
    for (const QString& line : lines) {
        style()->drawItemText(&painter, QRect(area.left(), top, area.width(), step),
                              Qt::AlignCenter, option.palette, isEnabled(), line,
                              QPalette::ButtonText);
        top += step;
    }
}
