// SPDX-License-Identifier: GPL-3.0-or-later
#include "Shape.h"

#include "FormControls.h"

#include <QPainter>

namespace rt {

Shape::Shape(Form& form, const ShapeDescription& description)
    : RectControl(controlsOf(form).canvas(),
        QRect(description.left, description.top, description.width, description.height), description.visible)
    , description_(description)
{
}

Shape::Shape(const Shape& element0, int index)
    : RectControl(element0, index)
    , description_(element0.description_)
{
}

void Shape::paint(QPainter& painter, const QPalette& palette) const
{
    const QRect rect = bounds();
    painter.fillRect(rect, description_.fillColor.resolve(palette));
    const int border = description_.borderWidth;
    const QColor borderColor = description_.borderColor.resolve(palette);
    painter.fillRect(rect.x(), rect.y(), rect.width(), border, borderColor);
    painter.fillRect(rect.x(), rect.bottom() - border + 1, rect.width(), border, borderColor);
    painter.fillRect(rect.x(), rect.y(), border, rect.height(), borderColor);
    painter.fillRect(rect.right() - border + 1, rect.y(), border, rect.height(), borderColor);
}

} // namespace rt
