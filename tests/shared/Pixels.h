// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <initializer_list>

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

// One pixel's expected colour, or with `is` false, any colour but that one.
struct Probe {
    int x;
    int y;
    QColor colour;
    bool is = true;
};

// The first probe that the image fails, named by its row and place; empty when all hold.
inline QString failedProbe(const QImage& image, std::initializer_list<Probe> probes)
{
    int row = 0;
    for (const Probe& probe : probes) {
        const QColor found = image.pixelColor(probe.x, probe.y);
        if ((found == probe.colour) != probe.is)
            return QStringLiteral("row %1 (%2, %3): %4, expected %5%6")
                .arg(row)
                .arg(probe.x)
                .arg(probe.y)
                .arg(found.name(), probe.is ? QString() : QStringLiteral("anything but "), probe.colour.name());
        ++row;
    }
    return {};
}

// Fusion outlines the focused button in the highlight colour, blue, where the others have grey.
inline bool hasFocusFrame(const QImage& image, const QRect& button)
{
    const QColor edge = image.pixelColor(button.left(), button.center().y());
    return edge.blue() > edge.red() + 60;
}

} // namespace pixels
