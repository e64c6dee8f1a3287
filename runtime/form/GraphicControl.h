// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

#include <set>
#include <vector>

class QPainter;
class QPalette;
class QWidget;

namespace rt {

class Canvas;

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
    GraphicControl(Canvas& canvas, bool visible);
    // A hidden clone for array element `index`, placed in element 0's drawing rank.
    GraphicControl(const GraphicControl& element0, int index);

    // Repaints part of what a shown control covers, for a change that leaves the rest as it was.
    void repaintArea(const QRect& area) const;

    // Repaints what the control covered before the change and what it covers when the paint
    // begins: a handler that moves a line end by end has it painted at its last place, not also
    // across the places it passed through, which never reach the screen.
    template <class Change> void changeLook(Change change)
    {
        if (!changing_)
            beginChange();
        change();
    }

private:
    friend class Canvas;

    void beginChange();
    void invalidate() const;
    // What the changes of the event made it cover.
    void finishChange();

    Canvas& canvas_;
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
    RectControl(Canvas& canvas, const QRect& rect, bool visible);
    RectControl(const RectControl& element0, int index);

    void setHeight(int height) { height_ = height; }

private:
    float left_;
    float top_;
    int width_;
    int height_;
};

// The controls a form draws, topmost first, and the repaints their changes ask of the surface
// they are drawn on.
class Canvas {
public:
    struct DrawingOrder {
        bool operator()(const GraphicControl* a, const GraphicControl* b) const;
    };
    using Graphics = std::set<GraphicControl*, DrawingOrder>;

    explicit Canvas(QWidget& surface);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    const Graphics& graphics() const { return graphics_; }
    // Makes every change asked for since the last paint; called as that paint begins.
    void finishChanges();

private:
    friend class GraphicControl;

    int nextDrawingRank() { return nextRank_++; }
    void add(GraphicControl* control) { graphics_.insert(control); }
    void remove(GraphicControl* control);
    void repaint(const QRect& area);
    void repaintWhenPaintBegins(GraphicControl* control) { changing_.push_back(control); }

    QWidget& surface_;
    int nextRank_ = 0;
    Graphics graphics_;
    std::vector<GraphicControl*> changing_;
};

} // namespace rt
