// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicControl.h"

#include <QWidget>

#include <cmath>
#include <utility>

namespace rt {

GraphicControl::GraphicControl(Canvas& canvas, bool visible)
    : canvas_(canvas)
    , rank_(canvas.nextDrawingRank())
    , index_(0)
    , visible_(visible)
{
    canvas_.add(this);
}

GraphicControl::GraphicControl(const GraphicControl& element0, int index)
    : canvas_(element0.canvas_)
    , rank_(element0.rank_)
    , index_(index)
    , visible_(false)
{
    canvas_.add(this);
}

GraphicControl::~GraphicControl()
{
    canvas_.remove(this);
}

void GraphicControl::setVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    canvas_.repaint(bounds());
}

void GraphicControl::beginChange()
{
    invalidate();
    changing_ = true;
    canvas_.repaintWhenPaintBegins(this);
}

void GraphicControl::finishChange()
{
    changing_ = false;
    invalidate();
}

void GraphicControl::repaintArea(const QRect& area) const
{
    if (visible_ && !area.isEmpty())
        canvas_.repaint(area);
}

void GraphicControl::invalidate() const
{
    if (visible_)
        canvas_.repaint(bounds());
}

RectControl::RectControl(Canvas& canvas, const QRect& rect, bool visible)
    : GraphicControl(canvas, visible)
    , left_(static_cast<float>(rect.left()))
    , top_(static_cast<float>(rect.top()))
    , width_(rect.width())
    , height_(rect.height())
{
}

RectControl::RectControl(const RectControl& element0, int index)
    : GraphicControl(element0, index)
    , left_(element0.left_)
    , top_(element0.top_)
    , width_(element0.width_)
    , height_(element0.height_)
{
}

void RectControl::setLeft(float left)
{
    changeLook([&] { left_ = left; });
}

void RectControl::setTop(float top)
{
    changeLook([&] { top_ = top; });
}

QRect RectControl::bounds() const
{
    return {static_cast<int>(std::lround(left_)), static_cast<int>(std::lround(top_)), width_, height_};
}

bool Canvas::DrawingOrder::operator()(const GraphicControl* a, const GraphicControl* b) const
{
    return std::pair(a->drawingRank(), a->index()) < std::pair(b->drawingRank(), b->index());
}

Canvas::Canvas(QWidget& surface)
    : surface_(surface)
{
}

void Canvas::finishChanges()
{
    for (GraphicControl* control : std::exchange(changing_, {}))
        control->finishChange();
}

void Canvas::remove(GraphicControl* control)
{
    graphics_.erase(control);
    std::erase(changing_, control);
}

void Canvas::repaint(const QRect& area)
{
    surface_.update(area);
}

} // namespace rt
