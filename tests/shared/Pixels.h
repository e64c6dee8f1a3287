// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

// Looking for colours in a picture of a window, for the unit and the end-to-end tests.
namespace pixels {

inline int count(const QImage& image, const QRect& area, const QColor& color)
{
    int found = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            found += image.pixelColor(x, y) == color;
    }
    return found;
}

inline bool any(const QImage& image, const QRect& area, const QColor& color)
{
    return count(image, area, color) > 0;
}

// Fusion outlines the focused button in the highlight colour, blue, where the others have grey.
inline bool hasFocusFrame(const QImage& image, const QRect& button)
{
    const QColor edge = image.pixelColor(button.left(), button.center().y());
    return edge.blue() > edge.red() + 60;
}

} // namespace pixels
