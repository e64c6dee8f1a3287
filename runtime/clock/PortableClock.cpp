// SPDX-License-Identifier: GPL-3.0-or-later
#include "EventLoopClock.h"

#include <QTimer>

#include <algorithm>
#include <thread>

namespace rt {

using std::chrono::nanoseconds;

namespace {

// Qt's precise timers keep to the millisecond, and may come that much late.
constexpr std::chrono::milliseconds wakeEarly{2};

class QtTimer : public ScheduledTimer {
public:
    QtTimer(Clock& clock, std::function<void()> onTick)
        : ScheduledTimer(clock, std::move(onTick))
    {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            std::this_thread::sleep_until(std::chrono::steady_clock::time_point(due()));
            fire();
        });
    }

private:
    void armAt(nanoseconds due) override
    {
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(due - wakeEarly - clock().now());
        timer_.start(std::max(wait, std::chrono::milliseconds(0)));
    }
    void disarm() override { timer_.stop(); }

    QTimer timer_;
};

} // namespace

std::unique_ptr<ClockTimer> PortableClock::createTimer(std::function<void()> onTick)
{
    return std::make_unique<QtTimer>(*this, std::move(onTick));
}

} // namespace rt
