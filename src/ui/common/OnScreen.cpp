#include "OnScreen.h"

#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

QRect placedInside(const QRect& window, const QRect& area)
{
    if (area.isEmpty())
        return window;
    QRect placed(window.topLeft(), window.size().boundedTo(area.size()));
    placed.moveRight(std::min(placed.right(), area.right()));
    placed.moveBottom(std::min(placed.bottom(), area.bottom()));
    placed.moveLeft(std::max(placed.left(), area.left()));
    placed.moveTop(std::max(placed.top(), area.top()));
    return placed;
}

namespace
{

void moveOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    // The frame (title bar, borders) is known only once a window manager has framed the window;
    // before that it is the window itself.
    const QRect frame = window->frameGeometry();
    const QRect placed = placedInside(frame, screen->availableGeometry());
    if (placed == frame)
        return;
    const QSize inner = window->size() - (frame.size() - placed.size());
    window->move(window->pos() + (placed.topLeft() - frame.topLeft()));
    if (inner != window->size())
        window->resize(inner.expandedTo(window->minimumSize()));
}

} // namespace

void keepOnScreen(QWidget* window)
{
    moveOnScreen(window);
    QTimer::singleShot(0, window, [window] { moveOnScreen(window); });
}
