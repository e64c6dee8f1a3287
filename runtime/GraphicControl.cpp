#include "GraphicControl.h"

#include "Form.h"

namespace rt {

GraphicControl::GraphicControl(Form& form, bool visible)
    : form_(form), rank_(form.nextDrawingRank()), index_(0), visible_(visible)
{
    form_.addGraphic(this);
}

GraphicControl::GraphicControl(const GraphicControl& element0, int index)
    : form_(element0.form_), rank_(element0.rank_), index_(index), visible_(false)
{
    form_.addGraphic(this);
}

GraphicControl::~GraphicControl()
{
    form_.removeGraphic(this);
}

void GraphicControl::setVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    form_.invalidate(bounds());
}

void GraphicControl::invalidate() const
{
    if (visible_)
        form_.invalidate(bounds());
}

} // namespace rt
