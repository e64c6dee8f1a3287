// SPDX-License-Identifier: GPL-3.0-or-later
#include "VirtualClock.h"

#include <algorithm>

namespace rt {

using std::chrono::nanoseconds;

class VirtualClock::Timer : public ScheduledTimer {
public:
    Timer(VirtualClock& clock, std::function<void()> onTick)
        : ScheduledTimer(clock, std::move(onTick))
        , clock_(clock)
    {
        clock_.timers_.push_back(this);
    }
    ~Timer() override { std::erase(clock_.timers_, this); }

    bool isRunning() const { return running_; }
    std::uint64_t sequence() const { return sequence_; }

private:
    void armAt(nanoseconds) override
    {
        running_ = true;
        sequence_ = clock_.nextSequence_++;
    }
    void disarm() override { running_ = false; }

    VirtualClock& clock_;
    std::uint64_t sequence_ = 0;
    bool running_ = false;
};

VirtualClock::VirtualClock() = default;
VirtualClock::~VirtualClock() = default;

std::unique_ptr<ClockTimer> VirtualClock::createTimer(std::function<void()> onTick)
{
    return std::make_unique<Timer>(*this, std::move(onTick));
}

void VirtualClock::advance(std::chrono::milliseconds duration)
{
    deliverUntil(now_ + duration);
}

void VirtualClock::holdPastNextTick(std::chrono::milliseconds lateness)
{
    if (const Timer* next = earliestDue(nanoseconds::max())) {
        now_ = next->due() + lateness;
        deliverUntil(now_);
    }
}

void VirtualClock::deliverUntil(nanoseconds end)
{
    while (Timer* timer = earliestDue(end)) {
        // A tick that fell due during a hold comes when the hold ends.
        now_ = std::max(now_, timer->due());
        timer->fire();
    }
    now_ = end;
}

std::optional<nanoseconds> VirtualClock::timeToNextTick() const
{
    if (const Timer* timer = earliestDue(nanoseconds::max()))
        return timer->due() - now_;
    return std::nullopt;
}

VirtualClock::Timer* VirtualClock::earliestDue(nanoseconds limit) const
{
    Timer* earliest = nullptr;
    for (Timer* timer : timers_) {
        if (!timer->isRunning() || timer->due() > limit)
            continue;
        if (!earliest || std::pair(timer->due(), timer->sequence()) < std::pair(earliest->due(), earliest->sequence()))
            earliest = timer;
    }
    return earliest;
}

} // namespace rt
