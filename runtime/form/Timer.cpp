// SPDX-License-Identifier: GPL-3.0-or-later
#include "Timer.h"

#include "FormControls.h"

namespace rt {

Timer::Timer(Form& form, const TimerDescription& description)
    : controls_(controlsOf(form))
    , interval_(description.interval)
    , clockTimer_(controls_.clock().createTimer([this] {
        if (handler_)
            controls_.raiseEvent(handler_, EventKind::Tick);
    }))
{
    controls_.addTimer(this, [this] { setEnabled(false); });
    setEnabled(description.enabled);
}

Timer::~Timer()
{
    controls_.removeTimer(this);
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
