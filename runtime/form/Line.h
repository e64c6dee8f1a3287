// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Appearance.h"
#include "GraphicControl.h"

#include <QPointF>

namespace rt {

class Form;

struct LineDescription {
    float x1 = 0;
    float y1 = 0;
    float x2 = 0;
    float y2 = 0;
    int borderWidth = 1;
    Color borderColor = systemColor(QPalette::WindowText);
    bool visible = true;
};

// A solid straight line. A horizontal or vertical line covers the pixels from its first end up
// to, but not including, its last; a wider line grows to the left of or above that path.
class Line : public GraphicControl {
public:
    Line(Form& form, const LineDescription& description);

    float x1() const { return static_cast<float>(from_.x()); }
    float x2() const { return static_cast<float>(to_.x()); }
    float y1() const { return static_cast<float>(from_.y()); }
    float y2() const { return static_cast<float>(to_.y()); }
    void setX1(float x);
    void setX2(float x);
    void setY1(float y);
    void setY2(float y);

    QRect bounds() const override;
    void paint(QPainter& painter, const QPalette& palette) const override;

private:
    const LineDescription description_; // as created; the ends below are the live ones
    QPointF from_;
    QPointF to_;
};

} // namespace rt
