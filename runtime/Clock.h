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
};

} // namespace rt
