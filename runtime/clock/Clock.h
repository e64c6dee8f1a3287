// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace rt {

// One timer's schedule on a clock: start() begins a fresh interval, stop() ends the ticks at once.
// Both are safe to repeat.
class ClockTimer {
public:
    virtual ~ClockTimer() = default;
    virtual void start(std::chrono::milliseconds interval) = 0;
    virtual void stop() = 0;
};

// The source of time for timers and for reseeding the random source. The program runs on the
// event loop's clock; tests run on a virtual clock they advance themselves.
class Clock {
public:
    virtual ~Clock() = default;
    // A fine-grained, monotonic reading.
    virtual std::chrono::nanoseconds now() const = 0;
    virtual std::unique_ptr<ClockTimer> createTimer(std::function<void()> onTick) = 0;

    // Where an interval started now begins: the current event's instant, or now between events.
    std::chrono::nanoseconds intervalStart() const { return eventInstant_.value_or(now()); }

    // Brackets the handling of one event and gives it its instant: for a tick, the instant its
    // timer chose (ScheduledTimer), for any other event the moment it came. A timer that the
    // handler starts counts its first interval from that instant, not from the moment of the
    // call: so neither a handler's own work nor a hand-over from one timer to the next shifts
    // the ticks that follow. Events may nest; the outermost one sets the instant, and it ends
    // with that event however the handler leaves.
    class Event {
    public:
        explicit Event(Clock& clock)
            : Event(clock, clock.now())
        {
        }
        Event(Clock& clock, std::chrono::nanoseconds instant)
            : clock_(clock)
            , outer_(clock.eventInstant_)
        {
            if (!outer_)
                clock_.eventInstant_ = instant;
        }
        ~Event() { clock_.eventInstant_ = outer_; }
        Event(const Event&) = delete;
        Event& operator=(const Event&) = delete;

    private:
        Clock& clock_;
        std::optional<std::chrono::nanoseconds> outer_;
    };

private:
    std::optional<std::chrono::nanoseconds> eventInstant_;
};

// A timer's schedule, the same on every clock; each clock only arms and disarms its wake-up.
// A tick that runs at most `punctual` after its due time keeps the schedule: what its handler
// starts, and its own next tick, count from the due time, so ordinary jitter neither drifts nor
// shifts anything. A later tick (the event loop was held up) counts them from the moment it ran
// instead, which skips the deadlines it missed and gives every phase its whole interval again.
class ScheduledTimer : public ClockTimer {
public:
    ScheduledTimer(Clock& clock, std::function<void()> onTick);

    void start(std::chrono::milliseconds interval) final;
    void stop() final;

    // For the clock, once the due time has come: re-arms, then runs the tick, which may stop or
    // restart the timer.
    void fire();
    std::chrono::nanoseconds due() const { return due_; }

protected:
    Clock& clock() const { return clock_; }

private:
    static constexpr std::chrono::milliseconds punctual{1};

    virtual void armAt(std::chrono::nanoseconds due) = 0;
    virtual void disarm() = 0;

    void arm(std::chrono::nanoseconds due);

    Clock& clock_;
    std::function<void()> onTick_;
    std::chrono::nanoseconds interval_{0};
    std::chrono::nanoseconds due_{0};
};

} // namespace rt
