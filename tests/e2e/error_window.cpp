// SPDX-License-Identifier: GPL-3.0-or-later
// A window whose timer overflows a 16-bit integer once it shows, ended as the game ends: the
// run-time error's report on a real display, for the end-to-end tests.
#include <runtime/clock/EventLoopClock.h>
#include <runtime/form/Form.h>
#include <runtime/form/Run.h>
#include <runtime/form/Timer.h>
#include <runtime/platform/WindowSystem.h>
#include <runtime/values/Int16.h>

#include <QApplication>

namespace {

class Overflowing : public rt::Form {
public:
    explicit Overflowing(rt::Clock& clock)
        : rt::Form(clock, {.caption = QStringLiteral("overflow"), .clientWidth = 300, .clientHeight = 150})
    {
        tick.onTimer([] { static_cast<void>(rt::Int16(32767) + rt::Int16(1)); });
    }

    rt::Timer tick{*this, {.interval = 300, .enabled = true}};
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    rt::EventLoopClock clock;
    Overflowing form(clock);
    return rt::endProgram(rt::openAndRun(form));
}
