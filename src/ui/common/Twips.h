#pragma once

#include <QRect>
#include <QSize>

// Window geometry is given in twips; Qt works in logical pixels (15 twips each) and scales
// for high DPI itself.
constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

constexpr int pixelsToTwips(int pixels)
{
    return pixels * 15;
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

inline QSize twipsSize(int width, int height)
{
    return QSize(twipsToPixels(width), twipsToPixels(height));
}
