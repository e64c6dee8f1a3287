// SPDX-License-Identifier: GPL-3.0-or-later
#include "VirtualClock.h"

#include <algorithm>

namespace rt {

class VirtualClock::Timer : public ClockTimer {
public:
    Timer(VirtualClock& clock, std::function<void()> onTick)
        : clock_(clock)
        , onTick_(std::move(onTick))
    {
        clock_.timers_.push_back(this);
    }
    ~Timer() override { std::erase(clock_.timers_, this); }

    void start(std::chrono::milliseconds interval) override
    {
        interval_ = interval;
        arm(clock_.now_ + interval);
    }
    void stop() override { running_ = false; }

    void arm(std::chrono::nanoseconds due)
    {
        running_ = true;
        due_ = due;
        sequence_ = clock_.nextSequence_++;
    }

    VirtualClock& clock_;
    std::function<void()> onTick_;
    std::chrono::nanoseconds interval_{0};
    std::chrono::nanoseconds due_{0};
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
    const auto end = now_ + duration;
    while (Timer* timer = earliestDue(end)) {
        now_ = timer->due_;
        timer->arm(timer->due_ + timer->interval_);
        timer->onTick_();
    }
    now_ = end;
}

std::optional<std::chrono::nanoseconds> VirtualClock::timeToNextTick() const
{
    if (const Timer* timer = earliestDue(std::chrono::nanoseconds::max()))
        return timer->due_ - now_;
    return std::nullopt;
}

VirtualClock::Timer* VirtualClock::earliestDue(std::chrono::nanoseconds limit) const
{
    Timer* earliest = nullptr;
    for (Timer* timer : timers_) {
        if (!timer->running_ || timer->due_ > limit)
            continue;
        if (!earliest || std::pair(timer->due_, timer->sequence_) < std::pair(earliest->due_, earliest->sequence_))
            earliest = timer;
    }
    return earliest;
}

} // namespace rt
