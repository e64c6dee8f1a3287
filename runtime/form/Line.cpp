// SPDX-License-Identifier: GPL-3.0-or-later
#include "Line.h"

#include "FormControls.h"

#include <QPainter>

namespace rt {

Line::Line(Form& form, const LineDescription& description)
    : GraphicControl(controlsOf(form).canvas(), description.visible)
    , description_(description)
    , from_(description.x1, description.y1)
    , to_(description.x2, description.y2)
{
}

void Line::setX1(float x)
{
    changeLook([&] { from_.setX(x); });
}

void Line::setX2(float x)
{
    changeLook([&] { to_.setX(x); });
}

void Line::setY1(float y)
{
    changeLook([&] { from_.setY(y); });
}

void Line::setY2(float y)
{
    changeLook([&] { to_.setY(y); });
}

QRect Line::bounds() const
{
    const int margin = description_.borderWidth + 1;
    return QRectF(from_, to_).normalized().toAlignedRect().adjusted(-margin, -margin, margin, margin);
}

void Line::paint(QPainter& painter, const QPalette& palette) const
{
    const QColor color = description_.borderColor.resolve(palette);
    const int width = description_.borderWidth;
    if (from_.x() == to_.x() || from_.y() == to_.y()) {
        // Axis-aligned lines are filled as whole pixels, so they look the same at any scale.
        const QRect path = QRectF(from_, to_).normalized().toRect();
        const bool vertical = from_.x() == to_.x();
        const QRect covered = vertical ? QRect(path.left() - width / 2, path.top(), width, path.height())
                                       : QRect(path.left(), path.top() - width / 2, path.width(), width);
        painter.fillRect(covered, color);
        return;
    }
    painter.save();
    painter.setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(from_, to_);
    painter.restore();
}

} // namespace rt
