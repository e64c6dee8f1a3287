// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline in Qt: a bare widget with Qt's defaults that keeps the game's rhythm on the game's
// clock. It opens a small window, prints its id, then at every tick, counted from the given start,
// turns a caret-sized rectangle black or white and asks for its repaint, as a plain Qt program
// would. At the end it prints each change's due time in ns: a tick more than 1 ms late moves
// the ones after it, as in the game.
// With --at-once it is the quickest a widget gets its pixels out: it repaints within the tick
// and sends its pixels as the game does, so all it has beyond the bare X client is Qt's own path.
// Usage: bench_bare_ticker <start in ns of the monotonic clock> <changes> [--at-once]
#include <runtime/clock/EventLoopClock.h>
#include <runtime/platform/WindowSystem.h>

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <vector>

using namespace std::chrono_literals;

namespace {

const QRect caretRect(19, 107, 6, 36);

class BareTicker : public QWidget {
public:
    BareTicker(rt::Clock& clock, int changes, bool atOnce)
        : clock_(clock)
        , changes_(changes)
        , atOnce_(atOnce)
        , timer_(clock.createTimer([this] { tick(); }))
    {
        setGeometry(1100, 500, 120, 160);
    }

    void start()
    {
        instant_ = clock_.intervalStart();
        timer_->start(500ms);
    }
    const std::vector<std::chrono::nanoseconds>& dueTimes() const { return due_; }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::white);
        if (black_)
            painter.fillRect(caretRect, Qt::black);
    }

private:
    void tick()
    {
        // When this tick was due: 500 ms after the instant of the one before, or of the start.
        due_.push_back(instant_ + 500ms);
        instant_ = clock_.intervalStart();
        black_ = !black_;
        if (atOnce_)
            repaint(caretRect);
        else
            update(caretRect);
        if (--changes_ == 0) {
            timer_->stop();
            QTimer::singleShot(100ms, qApp, &QCoreApplication::quit); // the last report reaches the watcher
        }
    }

    rt::Clock& clock_;
    int changes_;
    bool atOnce_;
    std::chrono::nanoseconds instant_;
    std::vector<std::chrono::nanoseconds> due_;
    bool black_ = false;
    std::unique_ptr<rt::ClockTimer> timer_;
};

} // namespace

int main(int argc, char* argv[])
{
    const bool atOnce = argc == 4 && std::strcmp(argv[3], "--at-once") == 0;
    if (atOnce)
        rt::sendPixelsInRequests();
    QApplication app(argc, argv);
    if (argc != 3 && !atOnce)
        return 2;
    rt::EventLoopClock clock;
    BareTicker ticker(clock, std::atoi(argv[2]), atOnce);
    ticker.show();
    std::printf("%llu\n", static_cast<unsigned long long>(ticker.winId()));
    std::fflush(stdout);
    {
        // The first tick is due 500 ms after the given start, as the bare X client's.
        const rt::Clock::Event begin(clock, std::chrono::nanoseconds(std::strtoll(argv[1], nullptr, 10)));
        ticker.start();
    }
    const int status = QApplication::exec();
    for (const std::chrono::nanoseconds due : ticker.dueTimes())
        std::printf("%lld ", static_cast<long long>(due.count()));
    std::printf("\n");
    return status;
}
