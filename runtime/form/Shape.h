// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Appearance.h"
#include "GraphicControl.h"

namespace rt {

class Form;

// A rectangle filled solid, with a border drawn inside its bounds.
struct ShapeDescription {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    Color fillColor = rgb(0, 0, 0);
    Color borderColor = systemColor(QPalette::WindowText);
    int borderWidth = 1;
    bool visible = true;
};

class Shape : public RectControl {
public:
    using Description = ShapeDescription;

    Shape(Form& form, const ShapeDescription& description);
    Shape(const Shape& element0, int index);

    void paint(QPainter& painter, const QPalette& palette) const override;

private:
    const ShapeDescription description_; // as created; where it stands and whether it shows live above
};

} // namespace rt
