// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Clock.h"

namespace rt {

// Real time: the monotonic clock, and timers that wake the thread's event loop at their deadlines.
class RealClock : public Clock {
public:
    std::chrono::nanoseconds now() const final { return std::chrono::steady_clock::now().time_since_epoch(); }
};

// Waits on timer descriptors, to within the kernel's timer slack (Qt's own timers round every
// wait up to a whole millisecond). Linux only.
class TimerFdClock : public RealClock {
public:
    std::unique_ptr<ClockTimer> createTimer(std::function<void()> onTick) override;
};

// Waits on Qt's precise timers, woken a little early, then sleeps to the exact deadline: as
// punctual on any system Qt runs on, for a short block of the event loop before each tick.
class PortableClock : public RealClock {
public:
    std::unique_ptr<ClockTimer> createTimer(std::function<void()> onTick) override;
};

// The build chooses: timer descriptors where the system has them, unless told otherwise.
#ifdef KORIMO_PORTABLE_CLOCK
using EventLoopClock = PortableClock;
#else
using EventLoopClock = TimerFdClock;
#endif

} // namespace rt
