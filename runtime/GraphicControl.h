// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

protected:
    GraphicControl(Form& form, bool visible);
    // A hidden clone for array element `index`, placed in element 0's drawing rank.
    GraphicControl(const GraphicControl& element0, int index);

    FormControls& controls() const { return controls_; }

    // Repaints what the control covered before and after the change.
    template <class Change> void changeLook(Change change)
    {
        invalidate();
        change();
        invalidate();
    }

private:
    void invalidate() const;

    FormControls& controls_;
    int rank_;
    int index_;
    bool visible_;
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
