// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FormControls.h"

#include <QRect>

class QPainter;
class QPalette;

namespace rt {

class Form;
class FormControls;

// A lightweight control that the form draws itself: no widget, no focus, no input. Controls
// earlier in the form's description are drawn above later ones; a loaded array element takes
// its element 0's place in that order, ahead of higher indexes.
class GraphicControl {
public:
    GraphicControl(const GraphicControl&) = delete;
    GraphicControl& operator=(const GraphicControl&) = delete;
    virtual ~GraphicControl();

    bool isVisible() const { return visible_; }
    void setVisible(bool visible);

    int drawingRank() const { return rank_; }
    int index() const { return index_; }

    // The client-area pixels the control paints.
    virtual QRect bounds() const = 0;
    virtual void paint(QPainter& painter, const QPalette& palette) const = 0;
    // Does ahead of time, while the window waits, what its later paints would otherwise do first.
    virtual void prepare() { }

protected:
    GraphicControl(Form& form, bool visible);
    // A hidden clone for array element `index`, placed in element 0's drawing rank.
    GraphicControl(const GraphicControl& element0, int index);

    FormControls& controls() const { return controls_; }
    // Repaints part of what a shown control covers, for a change that leaves the rest as it was.
    void repaintArea(const QRect& area) const;

    // Repaints what the control covered before the change and what it covers when the paint
    // begins: a handler that moves a line end by end has it painted at its last place, not also
    // across the places it passed through, which never reach the screen.
    template <class Change> void changeLook(Change change)
    {
        if (!changing_) {
            invalidate();
            changing_ = true;
            controls_.invalidateBeforePaint(this);
        }
        change();
    }

private:
    friend class FormControls;

    void invalidate() const;
    // What the changes of the event made it cover.
    void finishChange();

    FormControls& controls_;
    int rank_;
    int index_;
    bool visible_;
    bool changing_ = false;
};

// A control that covers a rectangle: placed at run time by single-precision Left and Top,
// drawn at the nearest whole pixels.
class RectControl : public GraphicControl {
public:
    float left() const { return left_; }
    float top() const { return top_; }
    void setLeft(float left);
    void setTop(float top);
    int height() const { return height_; }

    QRect bounds() const override;

protected:
    RectControl(Form& form, const QRect& rect, bool visible);
    RectControl(const RectControl& element0, int index);

    void setHeight(int height) { height_ = height; }

private:
    float left_;
    float top_;
    int width_;
    int height_;
};

} // namespace rt
