// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormControls.h"

#include <runtime/clock/Clock.h>

#include <QCoreApplication>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QWidget>

#include <algorithm>

namespace rt {

namespace {

void showErrorBox(QWidget& window, const RuntimeError& error)
{
    QMessageBox box(QMessageBox::Critical, window.windowTitle(), QStringLiteral("运行时错误：") + error.message(),
        QMessageBox::NoButton, &window);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace

FormControls::FormControls(QWidget& window, Clock& clock, std::function<void(int exitCode)> ended)
    : window_(window)
    , clock_(clock)
    , canvas_(window)
    , onEnd_(std::move(ended))
    , reporter_(showErrorBox)
{
}

void FormControls::raiseEvent(const std::function<void()>& handler, EventKind kind)
{
    if (ended_)
        return;
    const bool outermost = !handlingEvent_;
    if (outermost) {
        for (FormObserver* observer : observers_)
            observer->eventBegins(kind);
    }
    {
        const QScopedValueRollback handling(handlingEvent_, true);
        const Clock::Event event(clock_);
        try {
            handler();
        } catch (const RuntimeError& error) {
            // Nothing may tick or be clicked while the report is up.
            stopTimers();
            window_.setEnabled(false);
            reporter_(window_, error);
            end(1);
            return;
        }
    }
    if (!outermost)
        return;
    paintChanges();
    for (FormObserver* observer : observers_)
        observer->eventEnded(kind);
}

void FormControls::end(int exitCode)
{
    if (ended_)
        return;
    ended_ = true;
    stopTimers();
    onEnd_(exitCode);
}

// What an event changed reaches the screen as soon as its handler returns, as a bare X client
// would draw it: Qt's own repaint waits for another pass of the event loop, which may first run
// whatever else has come in meanwhile.
void FormControls::paintChanges()
{
    QCoreApplication::sendPostedEvents(&window_, QEvent::UpdateRequest);
}

void FormControls::addButton(QWidget* button, int tabIndex)
{
    buttons_.push_back({button, tabIndex});
    button->installEventFilter(&window_);
    std::ranges::stable_sort(buttons_, {}, &Button::tabIndex);
}

void FormControls::removeButton(QWidget* button)
{
    std::erase_if(buttons_, [button](const Button& b) { return b.widget == button; });
}

void FormControls::takeFocus()
{
    window_.setFocus(Qt::OtherFocusReason);
}

void FormControls::giveFocus(QWidget* button)
{
    button->setFocus(Qt::OtherFocusReason);
    // Mark the focused button as keyboard navigation would: Enter and Space act on it, so the
    // user should see which button that is.
    window_.setAttribute(Qt::WA_KeyboardFocusChange);
}

std::vector<QWidget*> FormControls::focusableButtons() const
{
    std::vector<QWidget*> focusable;
    for (const Button& button : buttons_) {
        if (button.widget->isEnabled() && !button.widget->isHidden())
            focusable.push_back(button.widget);
    }
    return focusable;
}

void FormControls::focusFirstButton()
{
    const std::vector<QWidget*> focusable = focusableButtons();
    if (!focusable.empty())
        giveFocus(focusable.front());
}

std::vector<QWidget*> FormControls::buttonsInTabOrder() const
{
    std::vector<QWidget*> widgets;
    for (const Button& button : buttons_)
        widgets.push_back(button.widget);
    return widgets;
}

void FormControls::removeTimer(const void* timer)
{
    std::erase_if(timers_, [timer](const StoppableTimer& t) { return t.timer == timer; });
}

void FormControls::stopTimers()
{
    for (const StoppableTimer& timer : timers_)
        timer.stop();
}

} // namespace rt
