// SPDX-License-Identifier: GPL-3.0-or-later
#include "Timer.h"

#include "Form.h"

namespace rt {

Timer::Timer(Form& form, const TimerDescription& description)
    : form_(form)
    , interval_(description.interval)
    , clockTimer_(form.clock().createTimer([this] {
        if (handler_)
            form_.raiseEvent(handler_);
    }))
{
    form_.addTimer(this);
    setEnabled(description.enabled);
}

Timer::~Timer()
{
    form_.removeTimer(this);
}

void Timer::setEnabled(bool enabled)
{
    enabled_ = enabled;
    if (enabled_ && interval_ > 0)
        clockTimer_->start(std::chrono::milliseconds(interval_));
    else
        clockTimer_->stop();
}

void Timer::onTimer(std::function<void()> handler)
{
    handler_ = std::move(handler);
}

} // namespace rt
