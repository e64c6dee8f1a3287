// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FormObserver.h"
#include "GraphicControl.h"

#include <runtime/values/Random.h>
#include <runtime/values/RuntimeError.h>

#include <functional>
#include <vector>

class QWidget;

namespace rt {

class Clock;
class Form;

// What a form shares with its controls: they register here in drawing, tab and timer order, and
// reach the form's clock, random source, events, repaints and focus through it. Private to the
// form's folder: the handlers, the program and the wings see the form's own faces.
class FormControls {
public:
    using ErrorReporter = std::function<void(QWidget& window, const RuntimeError& error)>;

    // `ended` hides the window and tells the program, once the timers have stopped.
    FormControls(QWidget& window, Clock& clock, std::function<void(int exitCode)> ended);
    FormControls(const FormControls&) = delete;
    FormControls& operator=(const FormControls&) = delete;

    QWidget& window() const { return window_; }
    Clock& clock() const { return clock_; }
    Random& random() { return random_; }
    Canvas& canvas() { return canvas_; }

    // Runs an event handler. A run-time error it raises ends the program: the timers stop,
    // the window takes no more input, the report is shown, and the program ends with status 1.
    void raiseEvent(const std::function<void()>& handler, EventKind kind);
    bool isEnded() const { return ended_; }
    void end(int exitCode);
    void setErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }
    void addObserver(FormObserver* observer) { observers_.push_back(observer); }
    void removeObserver(FormObserver* observer) { std::erase(observers_, observer); }

    void addButton(QWidget* button, int tabIndex);
    void removeButton(QWidget* button);
    // `stop` disables the timer: every timer stops when the form ends.
    void addTimer(const void* timer, std::function<void()> stop) { timers_.push_back({timer, std::move(stop)}); }
    void removeTimer(const void* timer);

    // The window itself takes the focus: no button has it.
    void takeFocus();
    void giveFocus(QWidget* button);
    // The buttons that can take the focus, in order of tab index.
    std::vector<QWidget*> focusableButtons() const;
    void focusFirstButton();
    std::vector<QWidget*> buttonsInTabOrder() const;

private:
    struct Button {
        QWidget* widget;
        int tabIndex;
    };
    struct StoppableTimer {
        const void* timer;
        std::function<void()> stop;
    };

    void stopTimers();
    void paintChanges();

    QWidget& window_;
    Clock& clock_;
    Random random_;
    Canvas canvas_;
    std::function<void(int)> onEnd_;
    ErrorReporter reporter_;
    bool ended_ = false;
    bool handlingEvent_ = false;
    std::vector<Button> buttons_;
    std::vector<StoppableTimer> timers_;
    std::vector<FormObserver*> observers_;
};

// The one door from a form to its registry, for its controls.
FormControls& controlsOf(Form& form);

} // namespace rt
