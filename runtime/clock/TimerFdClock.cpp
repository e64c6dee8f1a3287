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

class TimerFdTimer : public ScheduledTimer {
public:
    TimerFdTimer(Clock& clock, std::function<void()> onTick)
        : ScheduledTimer(clock, std::move(onTick))
        , notifier_(timer_.fd(), QSocketNotifier::Read)
    {
        QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_, [this] {
            // Stopping or restarting the timer after the event loop saw the descriptor readable
            // leaves nothing to take.
            if (timer_.takeExpiry())
                fire();
        });
    }

private:
    void armAt(nanoseconds due) override { timer_.expireAt(due); }
    void disarm() override { timer_.disarm(); }

    TimerFd timer_;
    QSocketNotifier notifier_; // destroyed before the descriptor it watches is closed
};

} // namespace

std::unique_ptr<ClockTimer> TimerFdClock::createTimer(std::function<void()> onTick)
{
    return std::make_unique<TimerFdTimer>(*this, std::move(onTick));
}

} // namespace rt
