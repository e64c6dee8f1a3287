// SPDX-License-Identifier: GPL-3.0-or-later
// Timers on the virtual clock and on the real event loop.
#include <runtime/EventLoopClock.h>
#include <runtime/Form.h>
#include <runtime/Timer.h>
#include <runtime/VirtualClock.h>

#include <QElapsedTimer>
#include <QTest>

using namespace std::chrono_literals;

namespace {

// A window with three timers whose ticks are logged with the virtual time they came at.
class TimedForm : public rt::Form {
public:
    explicit TimedForm(rt::Clock& clock)
        : rt::Form(clock, {.caption = QStringLiteral("t"), .clientWidth = 10, .clientHeight = 10})
    {
        a.onTimer([this] { log(QStringLiteral("a")); });
        b.onTimer([this] { log(QStringLiteral("b")); });
        c.onTimer([this] { log(QStringLiteral("c")); });
    }

    void log(const QString& name)
    {
        ticks << QStringLiteral("%1@%2").arg(name).arg(
            std::chrono::duration_cast<std::chrono::milliseconds>(clock().now()).count());
    }

    rt::Timer a{*this, {.interval = 500}};
    rt::Timer b{*this, {.interval = 500}};
    rt::Timer c{*this, {.interval = 300}};
    QStringList ticks;
};

} // namespace

class TestTimers : public QObject {
    Q_OBJECT

private slots:
    void ticksComeInOrderOfDueTimeThenOfStart()
    {
        rt::VirtualClock clock;
        TimedForm form(clock);
        form.b.setEnabled(true);
        form.a.setEnabled(true);
        form.c.setEnabled(true);
        clock.advance(1000ms);
        QCOMPARE(form.ticks, QStringList({"c@300", "b@500", "a@500", "c@600", "c@900", "b@1000", "a@1000"}));
    }

    void enablingStartsAFreshIntervalAndDisablingStopsAtOnce()
    {
        rt::VirtualClock clock;
        TimedForm form(clock);
        form.a.setEnabled(true);
        clock.advance(400ms);
        form.a.setEnabled(false);
        clock.advance(200ms);
        form.a.setEnabled(true); // at 600: next tick at 1100, not at 1000
        form.a.setEnabled(true); // enabling again changes nothing
        clock.advance(600ms);
        QCOMPARE(form.ticks, QStringList({"a@1100"}));
        QCOMPARE(clock.timeToNextTick(), std::optional(std::chrono::nanoseconds(400ms)));
    }

    // The handoff of the game's phases: a tick that stops its own timer and starts another.
    void aTickCanHandOverToAnotherTimer()
    {
        rt::VirtualClock clock;
        TimedForm form(clock);
        form.a.onTimer([&] {
            form.log(QStringLiteral("a"));
            form.a.setEnabled(false);
            form.b.setEnabled(true);
        });
        form.a.setEnabled(true);
        clock.advance(1500ms);
        QCOMPARE(form.ticks, QStringList({"a@500", "b@1000", "b@1500"}));
    }

    void unloadingStopsEveryTimer()
    {
        rt::VirtualClock clock;
        TimedForm form(clock);
        form.a.setEnabled(true);
        form.c.setEnabled(true);
        form.unload();
        clock.advance(2000ms);
        QVERIFY(form.ticks.isEmpty());
        QCOMPARE(clock.timeToNextTick(), std::nullopt);
    }

    // One check on the real event loop: precise timers tick on schedule, in order.
    void realClockTicksOnTheEventLoop()
    {
        rt::EventLoopClock clock;
        TimedForm form(clock);
        QElapsedTimer elapsed;
        QList<qint64> at;
        form.c.onTimer([&] { at << elapsed.elapsed(); });
        elapsed.start();
        form.c.setEnabled(true);
        QTRY_COMPARE_WITH_TIMEOUT(at.size(), 3, 5000);
        form.c.setEnabled(false);
        QVERIFY2(at[0] >= 299 && at[2] >= 899, qPrintable(QString::number(at[2])));
    }

    void realClockHandOverCountsFromTheEvent_data()
    {
        QTest::addColumn<bool>("fromTick");
        QTest::newRow("from a tick") << true;
        QTest::newRow("from another event") << false;
    }

    // Catches timers started by a handler counting from the end of its work: each hand-over
    // between the game's timers would push every later tick back by the handler's time.
    void realClockHandOverCountsFromTheEvent()
    {
        QFETCH(bool, fromTick);
        rt::EventLoopClock clock;
        TimedForm form(clock);
        QElapsedTimer elapsed;
        qint64 handlerEnded = -1;
        qint64 handedOver = -1;
        const auto slowHandOver = [&] {
            QTest::qSleep(200); // the handler's own work
            form.a.setEnabled(false);
            form.c.setEnabled(true);
            handlerEnded = elapsed.elapsed();
        };
        form.a.onTimer(slowHandOver);
        form.c.onTimer([&] {
            handedOver = elapsed.elapsed();
            form.c.setEnabled(false);
        });
        elapsed.start();
        if (fromTick)
            form.a.setEnabled(true);
        else
            form.raiseEvent(slowHandOver);
        QTRY_VERIFY_WITH_TIMEOUT(handedOver >= 0, 5000);
        // 300 ms after the event came is 100 ms after the handler ended; 300 ms after it
        // ended would be the fault.
        QVERIFY2(handedOver - handlerEnded < 200, qPrintable(QString::number(handedOver - handlerEnded)));
    }
};

QTEST_MAIN(TestTimers)
#include "tst_timers.moc"
