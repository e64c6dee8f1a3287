// SPDX-License-Identifier: GPL-3.0-or-later
#include "EventLoopClock.h"

#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>
#include <utility>

namespace rt {

using std::chrono::nanoseconds;

namespace {

// A timer file descriptor on the monotonic clock, the clock that steady_clock reads on Linux.
class TimerFd {
public:
    TimerFd()
        : fd_(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC))
    {
        if (fd_ < 0)
            throw std::system_error(errno, std::generic_category(), "timerfd_create");
    }
    ~TimerFd() { close(fd_); }
    TimerFd(const TimerFd&) = delete;
    TimerFd& operator=(const TimerFd&) = delete;

    int fd() const { return fd_; }

    void expireAt(nanoseconds deadline)
    {
        itimerspec at{};
        at.it_value.tv_sec = static_cast<time_t>(deadline.count() / 1'000'000'000);
        at.it_value.tv_nsec = static_cast<long>(deadline.count() % 1'000'000'000);
        timerfd_settime(fd_, TFD_TIMER_ABSTIME, &at, nullptr);
    }

    void disarm()
    {
        const itimerspec off{};
        timerfd_settime(fd_, 0, &off, nullptr);
    }

    // Whether the deadline has passed since it was last set; makes the descriptor unreadable again.
    bool takeExpiry()
    {
        std::uint64_t expiries = 0;
        return read(fd_, &expiries, sizeof expiries) == sizeof expiries;
    }

private:
    int fd_;
};

} // namespace

class EventLoopClock::DeadlineTimer : public ClockTimer {
public:
    DeadlineTimer(EventLoopClock& clock, std::function<void()> onTick)
        : clock_(clock)
        , onTick_(std::move(onTick))
        , notifier_(timer_.fd(), QSocketNotifier::Read)
    {
        QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_, [this] { expire(); });
    }

    void start(std::chrono::milliseconds interval) override
    {
        interval_ = interval;
        arm(clock_.intervalStart() + interval_);
    }

    void stop() override { timer_.disarm(); }

private:
    void arm(nanoseconds due)
    {
        due_ = due;
        timer_.expireAt(due);
    }

    void expire()
    {
        // Stopping or restarting the timer after the event loop saw the descriptor readable
        // leaves nothing to take.
        if (!timer_.takeExpiry())
            return;
        const nanoseconds due = due_;
        // A tick more than a whole interval late skips the deadlines it missed instead of
        // bunching them; the next one keeps its place on the schedule.
        nanoseconds next = due + interval_;
        while (next <= clock_.now())
            next += interval_;
        arm(next);
        clock_.tick(due, onTick_);
    }

    EventLoopClock& clock_;
    std::function<void()> onTick_;
    TimerFd timer_;
    QSocketNotifier notifier_; // destroyed before the descriptor it watches is closed
    nanoseconds interval_{0};
    nanoseconds due_{0};
};

nanoseconds EventLoopClock::now() const
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

std::unique_ptr<ClockTimer> EventLoopClock::createTimer(std::function<void()> onTick)
{
    return std::make_unique<DeadlineTimer>(*this, std::move(onTick));
}

void EventLoopClock::beginEvent()
{
    if (eventDepth_++ == 0)
        eventStart_ = now();
}

void EventLoopClock::endEvent()
{
    --eventDepth_;
}

nanoseconds EventLoopClock::intervalStart() const
{
    return eventDepth_ > 0 ? eventStart_ : now();
}

void EventLoopClock::tick(nanoseconds due, const std::function<void()>& onTick)
{
    const nanoseconds outerStart = std::exchange(eventStart_, due);
    ++eventDepth_;
    onTick();
    --eventDepth_;
    eventStart_ = outerStart;
}

} // namespace rt
