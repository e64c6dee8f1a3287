// SPDX-License-Identifier: GPL-3.0-or-later
#include "Line.h"

#include <QPainter>

namespace rt {

Line::Line(Form& form, const LineDescription& description)
    : GraphicControl(form, description.visible)
    , description_(description)
{
}

void Line::setX1(float x)
{
    changeLook([&] { description_.x1 = x; });
}

void Line::setX2(float x)
{
    changeLook([&] { description_.x2 = x; });
}

void Line::setY1(float y)
{
    changeLook([&] { description_.y1 = y; });
}

void Line::setY2(float y)
{
    changeLook([&] { description_.y2 = y; });
}

QRect Line::bounds() const
{
    const int margin = description_.borderWidth + 1;
    return QRectF(QPointF(description_.x1, description_.y1), QPointF(description_.x2, description_.y2))
        .normalized()
        .toAlignedRect()
        .adjusted(-margin, -margin, margin, margin);
}

void Line::paint(QPainter& painter, const QPalette& palette) const
{
    const QColor color = description_.borderColor.resolve(palette);
    const int width = description_.borderWidth;
    const QPointF from(description_.x1, description_.y1);
    const QPointF to(description_.x2, description_.y2);
    if (from.x() == to.x() || from.y() == to.y()) {
        // Axis-aligned lines are filled as whole pixels, so they look the same at any scale.
        const QRect path = QRectF(from, to).normalized().toRect();
        const bool vertical = from.x() == to.x();
        const QRect covered = vertical ? QRect(path.left() - width / 2, path.top(), width, path.height())
                                       : QRect(path.left(), path.top() - width / 2, path.width(), width);
        painter.fillRect(covered, color);
        return;
    }
    painter.save();
    painter.setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(from, to);
    painter.restore();
}

} // namespace rt
