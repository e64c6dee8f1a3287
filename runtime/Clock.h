// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>
#include <memory>

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

    // Brackets the handling of one event. A timer that the handler starts counts its first
    // interval from the instant the event came (a tick's due time), not from the moment of the
    // call: so neither a handler's own work nor a hand-over from one timer to the next shifts
    // the ticks that follow. Events may nest; the outermost one sets the instant.
    class Event {
    public:
        explicit Event(Clock& clock)
            : clock_(clock)
        {
            clock_.beginEvent();
        }
        ~Event() { clock_.endEvent(); }
        Event(const Event&) = delete;
        Event& operator=(const Event&) = delete;

    private:
        Clock& clock_;
    };

protected:
    // Virtual time stands still while a handler runs, so it needs neither.
    virtual void beginEvent() { }
    virtual void endEvent() { }
};

} // namespace rt
