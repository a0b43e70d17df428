#pragma once

#include <QRect>

class QWidget;

// Where a window goes so that the whole of it is on the free area of its screen: moved back
// inside, and no larger than the area. A window already inside stays where it is.
QRect placedInside(const QRect& window, const QRect& area);

// For a window the program places or sizes itself, called as it is shown: at a high scale
// factor or on a small screen its fixed place or size can reach off the screen, out of reach
// of the mouse. Checked again once the window manager has framed the window.
void keepOnScreen(QWidget* window);
