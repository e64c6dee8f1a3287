// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Accessibility.h"
#include "RuntimeError.h"

#include <QRect>

#include <functional>
#include <set>
#include <vector>

class QWidget;

namespace rt {

class Clock;
class CommandButton;
class Form;
class GraphicControl;
class Label;
class Random;
class Timer;

// What a form shares with its controls, and with the tests that stand in for them: the controls
// register here in drawing, tab and timer order, and reach the form's clock, events, repaints
// and focus through it. Neither the handlers nor the program see it.
class FormControls {
public:
    using ErrorReporter = std::function<void(Form&, const RuntimeError&)>;

    FormControls(Form& form, Clock& clock);
    FormControls(const FormControls&) = delete;
    FormControls& operator=(const FormControls&) = delete;

    // The one door into a form.
    static FormControls& of(Form& form);

    Clock& clock() const { return clock_; }
    // The form's random source, which tests seed so that a run replays.
    Random& random() const;
    // Runs an event handler. A run-time error it raises ends the program: the timers stop,
    // the window takes no more input, the report is shown, and unloaded(1) follows. Then tells
    // screen readers what it changed; text a key's handler writes is text the user typed.
    void raiseEvent(const std::function<void()>& handler, bool typed = false);
    // Tests observe the report here instead of in a modal message box.
    void setErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }
    void invalidate(const QRect& area);
    // Repaints what the control covers when the next paint begins: a handler's changes are all
    // made by then.
    void invalidateBeforePaint(GraphicControl* control);
    void finishChanges();

    int nextDrawingRank() { return nextRank_++; }
    void addGraphic(GraphicControl* control);
    void removeGraphic(GraphicControl* control);
    void addButton(CommandButton* button);
    void removeButton(CommandButton* button);
    void addTimer(Timer* timer);
    void removeTimer(Timer* timer);

    void takeFocus();
    void giveFocus(QWidget* button);
    // The buttons that can take the focus, in order of tab index.
    std::vector<QWidget*> focusableButtons() const;
    void focusFirstButton();

    void stopTimers();

    struct DrawingOrder {
        bool operator()(const GraphicControl* a, const GraphicControl* b) const;
    };
    // Topmost first: a control earlier in the description covers a later one.
    const std::set<GraphicControl*, DrawingOrder>& graphics() const { return graphics_; }
    // The buttons, in order of tab index.
    std::vector<QWidget*> buttonsInTabOrder() const;
    FormAccessibles& accessibles() { return accessibles_; }

private:
    void paintChanges();

    Form& form_;
    Clock& clock_;
    ErrorReporter reporter_;
    bool handlingEvent_ = false;
    int nextRank_ = 0;
    std::set<GraphicControl*, DrawingOrder> graphics_;
    std::vector<GraphicControl*> changing_;
    std::vector<CommandButton*> buttons_;
    std::vector<Timer*> timers_;
    FormAccessibles accessibles_;
};

} // namespace rt
