#include "EventLoopClock.h"

#include <QTimer>

namespace rt {

namespace {

class QtClockTimer : public ClockTimer {
public:
    explicit QtClockTimer(std::function<void()> onTick)
    {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, std::move(onTick));
    }

    void start(std::chrono::milliseconds interval) override { timer_.start(interval); }
    void stop() override { timer_.stop(); }

private:
    QTimer timer_;
};

} // namespace

std::chrono::nanoseconds EventLoopClock::now() const
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

std::unique_ptr<ClockTimer> EventLoopClock::createTimer(std::function<void()> onTick)
{
    return std::make_unique<QtClockTimer>(std::move(onTick));
}

} // namespace rt
