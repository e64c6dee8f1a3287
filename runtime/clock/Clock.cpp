// SPDX-License-Identifier: GPL-3.0-or-later
#include "Clock.h"

namespace rt {

using std::chrono::nanoseconds;

ScheduledTimer::ScheduledTimer(Clock& clock, std::function<void()> onTick)
    : clock_(clock)
    , onTick_(std::move(onTick))
{
}

void ScheduledTimer::start(std::chrono::milliseconds interval)
{
    interval_ = interval;
    arm(clock_.intervalStart() + interval_);
}

void ScheduledTimer::stop()
{
    disarm();
}

void ScheduledTimer::fire()
{
    const nanoseconds ranAt = clock_.now();
    const nanoseconds instant = ranAt - due_ <= punctual ? due_ : ranAt;
    arm(instant + interval_);
    const Clock::Event event(clock_, instant);
    onTick_();
}

void ScheduledTimer::arm(nanoseconds due)
{
    due_ = due;
    armAt(due);
}

} // namespace rt
