// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicControl.h"

#include "FormControls.h"

#include <cmath>

namespace rt {

GraphicControl::GraphicControl(Form& form, bool visible)
    : controls_(FormControls::of(form))
    , rank_(controls_.nextDrawingRank())
    , index_(0)
    , visible_(visible)
{
    controls_.addGraphic(this);
}

GraphicControl::GraphicControl(const GraphicControl& element0, int index)
    : controls_(element0.controls_)
    , rank_(element0.rank_)
    , index_(index)
    , visible_(false)
{
    controls_.addGraphic(this);
}

GraphicControl::~GraphicControl()
{
    controls_.removeGraphic(this);
}

void GraphicControl::setVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    controls_.invalidate(bounds());
    controls_.accessibles().visibilityChanged(*this);
}

void GraphicControl::finishChange()
{
    changing_ = false;
    invalidate();
}

void GraphicControl::repaintArea(const QRect& area) const
{
    if (visible_ && !area.isEmpty())
        controls_.invalidate(area);
}

void GraphicControl::invalidate() const
{
    if (visible_)
        controls_.invalidate(bounds());
}

RectControl::RectControl(Form& form, const QRect& rect, bool visible)
    : GraphicControl(form, visible)
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

} // namespace rt
