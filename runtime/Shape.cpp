#include "Shape.h"

#include <QPainter>

#include <cmath>

namespace rt {

Shape::Shape(Form& form, const ShapeDescription& description)
    : GraphicControl(form, description.visible),
      description_(description),
      left_(static_cast<float>(description.left)),
      top_(static_cast<float>(description.top))
{
}

Shape::Shape(const Shape& element0, int index)
    : GraphicControl(element0, index), description_(element0.description_), left_(element0.left_), top_(element0.top_)
{
}

void Shape::setLeft(float left)
{
    changeLook([&] { left_ = left; });
}

void Shape::setTop(float top)
{
    changeLook([&] { top_ = top; });
}

QRect Shape::bounds() const
{
    return {static_cast<int>(std::lround(left_)), static_cast<int>(std::lround(top_)), description_.width,
            description_.height};
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
