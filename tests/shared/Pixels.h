// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QDebug>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

// Looking for colours in a picture of a window, for the unit and the end-to-end tests.
namespace pixels {

inline int count(const QImage& image, const QRect& area, const QColor& color)
{
    const QRect inside = area & image.rect();
    int found = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            found += image.pixelColor(x, y) == color;
    }
    return found;
}

inline bool any(const QImage& image, const QRect& area, const QColor& color)
{
    return count(image, area, color) > 0;
}

// How many of an area's pixels a probe expects in its colour.
enum class Expect { Some, None, All };

// A point (a 1 × 1 area) that is or is not in the colour, or an area with some, none or all of its
// pixels in it.
struct Probe {
    Probe() = default;
    Probe(int x, int y, const QColor& colour, bool is = true)
        : Probe(QRect(x, y, 1, 1), colour, is ? Expect::All : Expect::None)
    {
    }
    Probe(const QRect& area, const QColor& colour, Expect expect = Expect::Some)
        : area(area)
        , colour(colour)
        , expect(expect)
    {
    }

    QRect area;
    QColor colour;
    Expect expect = Expect::Some;
};

// The first probe that the image fails, named by its row and place; empty when all hold.
inline QString failedProbe(const QImage& image, const QList<Probe>& probes)
{
    for (qsizetype row = 0; row < probes.size(); ++row) {
        const Probe& probe = probes[row];
        const QRect inside = probe.area & image.rect();
        const int found = count(image, inside, probe.colour);
        const int expected = probe.expect == Expect::All ? inside.width() * inside.height() : 0;
        if (probe.expect == Expect::Some ? found == 0 : found != expected)
            return QStringLiteral("row %1 %2: %3 pixels %4, expected %5")
                .arg(row)
                .arg(QDebug::toString(probe.area))
                .arg(found)
                .arg(probe.colour.name(),
                    probe.expect == Expect::Some ? QStringLiteral("some") : QString::number(expected));
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
