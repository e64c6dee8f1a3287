// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Clock.h"

namespace rt {

// Real time: the monotonic clock, and timers that wake the thread's event loop at their
// deadlines to within the kernel's timer slack (Qt's own timers round every wait up to a whole
// millisecond). A repeating timer's deadlines lie whole intervals after its start, so its ticks
// do not drift.
class EventLoopClock : public Clock {
public:
    std::chrono::nanoseconds now() const override;
    std::unique_ptr<ClockTimer> createTimer(std::function<void()> onTick) override;

protected:
    void beginEvent() override;
    void endEvent() override;

private:
    class DeadlineTimer;

    // Where an interval started now begins: the current event's instant, or now between events.
    std::chrono::nanoseconds intervalStart() const;
    void tick(std::chrono::nanoseconds due, const std::function<void()>& onTick);

    int eventDepth_ = 0;
    std::chrono::nanoseconds eventStart_{0};
};

} // namespace rt
