// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormControls.h"

#include "CommandButton.h"
#include "Form.h"
#include "GraphicControl.h"
#include "Label.h"
#include "Timer.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>

#include <algorithm>
#include <utility>

namespace rt {

namespace {

void showErrorBox(Form& form, const RuntimeError& error)
{
    QMessageBox box(QMessageBox::Critical, form.windowTitle(), QStringLiteral("运行时错误：") + error.message(),
        QMessageBox::NoButton, &form);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace

FormControls::FormControls(Form& form, Clock& clock)
    : form_(form)
    , clock_(clock)
    , reporter_(showErrorBox)
    , accessibles_(form, *this)
{
}

FormControls& FormControls::of(Form& form)
{
    return *form.controls_;
}

Random& FormControls::random() const
{
    return form_.random_;
}

void FormControls::raiseEvent(const std::function<void()>& handler, bool typed)
{
    if (form_.ended_)
        return;
    const bool outermost = !handlingEvent_;
    const QWidget* focusBefore = form_.focusWidget();
    {
        const QScopedValueRollback handling(handlingEvent_, true);
        const Clock::Event event(clock_);
        try {
            handler();
        } catch (const RuntimeError& error) {
            // Nothing may tick or be clicked while the report is up.
            stopTimers();
            form_.setEnabled(false);
            reporter_(form_, error);
            form_.end(1);
            return;
        }
    }
    if (outermost)
        paintChanges();
    accessibles_.announce(typed, focusBefore);
}

// What an event changed reaches the screen as soon as its handler returns, as a bare X client
// would draw it: Qt's own repaint waits for another pass of the event loop, which may first run
// whatever else has come in meanwhile.
void FormControls::paintChanges()
{
    QCoreApplication::sendPostedEvents(&form_, QEvent::UpdateRequest);
}

void FormControls::invalidate(const QRect& area)
{
    form_.update(area);
}

void FormControls::invalidateBeforePaint(GraphicControl* control)
{
    changing_.push_back(control);
}

void FormControls::finishChanges()
{
    for (GraphicControl* control : std::exchange(changing_, {}))
        control->finishChange();
}

void FormControls::addGraphic(GraphicControl* control)
{
    graphics_.insert(control);
}

void FormControls::removeGraphic(GraphicControl* control)
{
    graphics_.erase(control);
    std::erase(changing_, control);
    accessibles_.forget(*control);
}

void FormControls::addButton(CommandButton* button)
{
    buttons_.push_back(button);
    button->widget()->installEventFilter(&form_);
    std::ranges::sort(buttons_, {}, &CommandButton::tabIndex);
}

void FormControls::removeButton(CommandButton* button)
{
    std::erase(buttons_, button);
}

void FormControls::addTimer(Timer* timer)
{
    timers_.push_back(timer);
}

void FormControls::removeTimer(Timer* timer)
{
    std::erase(timers_, timer);
}

void FormControls::takeFocus()
{
    form_.setFocus(Qt::OtherFocusReason);
}

void FormControls::giveFocus(QWidget* button)
{
    button->setFocus(Qt::OtherFocusReason);
    // Mark the focused button as keyboard navigation would: Enter and Space act on it, so the
    // user should see which button that is.
    form_.setAttribute(Qt::WA_KeyboardFocusChange);
}

std::vector<QWidget*> FormControls::focusableButtons() const
{
    std::vector<QWidget*> focusable;
    for (const CommandButton* button : buttons_) {
        if (button->widget()->isEnabled() && !button->widget()->isHidden())
            focusable.push_back(button->widget());
    }
    return focusable;
}

void FormControls::focusFirstButton()
{
    const std::vector<QWidget*> focusable = focusableButtons();
    if (!focusable.empty())
        giveFocus(focusable.front());
}

void FormControls::stopTimers()
{
    for (Timer* timer : timers_)
        timer->setEnabled(false);
}

std::vector<QWidget*> FormControls::buttonsInTabOrder() const
{
    std::vector<QWidget*> widgets;
    for (const CommandButton* button : buttons_)
        widgets.push_back(button->widget());
    return widgets;
}

bool FormControls::DrawingOrder::operator()(const GraphicControl* a, const GraphicControl* b) const
{
    return std::pair(a->drawingRank(), a->index()) < std::pair(b->drawingRank(), b->index());
}

} // namespace rt
