#pragma once

#include "Clock.h"

namespace rt {

// Real time: precise Qt timers on the thread's event loop. A repeating precise timer is
// scheduled from its previous deadline, so its ticks do not drift.
class EventLoopClock : public Clock {
public:
    std::chrono::nanoseconds now() const override;
    std::unique_ptr<ClockTimer> createTimer(std::function<void()> onTick) override;
};

} // namespace rt
