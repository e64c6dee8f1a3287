// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Clock.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace rt {

// Time that moves only when told to. advance() delivers every tick that falls due, in order of
// due time; ticks due at the same instant come in the order their timers were started, where
// the re-arming after a tick counts as a start. A handler may start or stop timers, and a
// timer started during advance() ticks within the same advance() if it falls due.
class VirtualClock : public Clock {
public:
    VirtualClock();
    ~VirtualClock() override;

    std::chrono::nanoseconds now() const override { return now_; }
    std::unique_ptr<ClockTimer> createTimer(std::function<void()> onTick) override;

    void advance(std::chrono::milliseconds duration);
    // Holds the event loop, as a busy or descheduled process would, until the next tick is
    // `lateness` overdue; then every tick that fell due meanwhile comes at once, late.
    void holdPastNextTick(std::chrono::milliseconds lateness);
    // Time left until the next tick; none while no timer runs.
    std::optional<std::chrono::nanoseconds> timeToNextTick() const;

private:
    class Timer;
    friend class Timer;

    void deliverUntil(std::chrono::nanoseconds end);
    Timer* earliestDue(std::chrono::nanoseconds limit) const;

    std::chrono::nanoseconds now_{0};
    std::uint64_t nextSequence_ = 0;
    std::vector<Timer*> timers_;
};

} // namespace rt
