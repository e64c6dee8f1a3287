// SPDX-License-Identifier: GPL-3.0-or-later
// Timers on the virtual clock and on the real event loop.
#include <runtime/clock/EventLoopClock.h>
#include <runtime/clock/VirtualClock.h>
#include <runtime/form/Form.h>
#include <runtime/form/Timer.h>

#include <QDebug>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <stdexcept>

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
        at << clock().now();
        ticks << QStringLiteral("%1@%2").arg(name).arg(
            std::chrono::duration_cast<std::chrono::milliseconds>(clock().now()).count());
    }

    // The game's rhythm: a reveals three times and hands over to b, the hide tick, which hands
    // over to c, the blink.
    void handOverLikeTheGame()
    {
        a.onTimer([this] {
            log(QStringLiteral("a"));
            if (ticks.size() == 3) {
                a.setEnabled(false);
                b.setEnabled(true);
            }
        });
        b.onTimer([this] {
            log(QStringLiteral("b"));
            b.setEnabled(false);
            c.setEnabled(true);
        });
        a.setEnabled(true);
    }

    rt::Timer a{*this, {.interval = 500}};
    rt::Timer b{*this, {.interval = 500}};
    rt::Timer c{*this, {.interval = 300}};
    QStringList ticks;
    QList<std::chrono::nanoseconds> at;
};

// Runs `loop` for at most `timeout`: the event loop itself, which waits for events. (Qt Test's
// waits poll it every 10 ms, which would make a tick on the real clocks up to that much late.)
void run(QEventLoop& loop, std::chrono::milliseconds timeout)
{
    QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
    loop.exec();
}

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
        clock.advance(200ms);
        form.a.setEnabled(true); // at 800, while it runs: next tick at 1300
        clock.advance(600ms);
        QCOMPARE(form.ticks, QStringList({"a@1300"}));
        QCOMPARE(clock.timeToNextTick(), std::optional(std::chrono::nanoseconds(400ms)));
    }

    void aLateTickCountsOnFromWhenItRan_data()
    {
        QTest::addColumn<int>("heldTick"); // from 1, in the order the ticks come
        QTest::addColumn<int>("lateMs");
        QTest::addColumn<QStringList>("ticks");
        QTest::newRow("reveal 1 ms late: jitter keeps the schedule")
            << 2 << 1 << QStringList{"a@500", "a@1001", "a@1500", "b@2000", "c@2300", "c@2600"};
        QTest::newRow("last reveal 1 ms late: jitter keeps the schedule")
            << 3 << 1 << QStringList{"a@500", "a@1000", "a@1501", "b@2000", "c@2300", "c@2600"};
        QTest::newRow("reveal 2 ms late")
            << 2 << 2 << QStringList{"a@500", "a@1002", "a@1502", "b@2002", "c@2302", "c@2602"};
        QTest::newRow("reveal 250 ms late")
            << 2 << 250 << QStringList{"a@500", "a@1250", "a@1750", "b@2250", "c@2550", "c@2850"};
        QTest::newRow("last reveal 700 ms late")
            << 3 << 700 << QStringList{"a@500", "a@1000", "a@2200", "b@2700", "c@3000", "c@3300"};
        QTest::newRow("hide tick 250 ms late")
            << 4 << 250 << QStringList{"a@500", "a@1000", "a@1500", "b@2250", "c@2550", "c@2850"};
        QTest::newRow("hide tick 700 ms late")
            << 4 << 700 << QStringList{"a@500", "a@1000", "a@1500", "b@2700", "c@3000", "c@3300"};
        QTest::newRow("blink 250 ms late")
            << 5 << 250 << QStringList{"a@500", "a@1000", "a@1500", "b@2000", "c@2550", "c@2850"};
        QTest::newRow("blink 700 ms late")
            << 5 << 700 << QStringList{"a@500", "a@1000", "a@1500", "b@2000", "c@3000", "c@3300"};
    }

    // A tick held up past its due time would otherwise cut short what it shows: what its handler
    // starts, and its own next tick, count from when it ran unless it ran within 1 ms.
    void aLateTickCountsOnFromWhenItRan()
    {
        QFETCH(int, heldTick);
        QFETCH(int, lateMs);
        QFETCH(QStringList, ticks);
        rt::VirtualClock clock;
        TimedForm form(clock);
        form.handOverLikeTheGame();
        while (form.ticks.size() < heldTick - 1)
            clock.advance(1ms);
        clock.holdPastNextTick(std::chrono::milliseconds(lateMs));
        while (form.ticks.size() < ticks.size())
            clock.advance(1ms);
        QCOMPARE(form.ticks, ticks);
    }

    // Catches an event's instant outliving a handler that throws: every timer started later
    // would count from it.
    void anEventsInstantEndsWithItEvenOnAnException()
    {
        rt::VirtualClock clock;
        TimedForm form(clock);
        QVERIFY_THROWS_EXCEPTION(std::logic_error, form.raiseEvent([] { throw std::logic_error("thrown"); }));
        clock.advance(300ms);
        form.a.setEnabled(true);
        clock.advance(500ms);
        QCOMPARE(form.ticks, QStringList({"a@800"}));
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
        form.close();
        clock.advance(2000ms);
        QVERIFY(form.ticks.isEmpty());
        QCOMPARE(clock.timeToNextTick(), std::nullopt);
    }

    // On the real event loop no tick comes before its due time, and the best of seven comes
    // within 1 ms of it. A tick's due time is the clock's own: an interval after the instant of
    // the tick before (its due time, or when it ran if that was more than 1 ms late).
    void realClockTicksOnTime()
    {
        rt::EventLoopClock clock;
        TimedForm form(clock);
        QList<std::chrono::nanoseconds> due;
        QList<qint64> lateness; // µs
        QEventLoop loop;
        form.c.onTimer([&] {
            lateness << std::chrono::duration_cast<std::chrono::microseconds>(clock.now() - due.back()).count();
            due << clock.intervalStart() + 300ms;
            if (lateness.size() == 7)
                loop.quit();
        });
        form.raiseEvent([&] {
            due << clock.intervalStart() + 300ms;
            form.c.setEnabled(true);
        });
        run(loop, 5000ms);
        form.c.setEnabled(false);
        QCOMPARE(lateness.size(), 7);
        const QString seen = QDebug::toString(lateness);
        QVERIFY2(std::ranges::min(lateness) >= 0, qPrintable(seen));
        // Under valgrind, which runs every handler tens of times slower, no tick can be that punctual.
        const bool underValgrind = qEnvironmentVariable("LD_PRELOAD").contains(u"vgpreload");
        QVERIFY2(underValgrind || std::ranges::min(lateness) < 1000, qPrintable(seen));
    }

    // Two timers found due in one pass of the event loop, the first to tick stopping both: the
    // other neither ticks nor comes back.
    void realClockTimerStoppedInTheSamePassStaysStopped()
    {
        rt::EventLoopClock clock;
        TimedForm form(clock);
        for (rt::Timer* timer : {&form.a, &form.b}) {
            timer->onTimer([&form, timer] {
                form.log(timer == &form.a ? QStringLiteral("a") : QStringLiteral("b"));
                form.a.setEnabled(false);
                form.b.setEnabled(false);
            });
        }
        form.raiseEvent([&] {
            form.a.setEnabled(true);
            form.b.setEnabled(true);
            QTest::qSleep(600); // both due at 500, while the event loop is held
        });
        QEventLoop loop;
        run(loop, 700ms);
        QVERIFY2(form.ticks.size() == 1, qPrintable(form.ticks.join(u' ')));
    }

    // The event loop held 400 ms between the second and the third reveal: every phase still
    // stays its whole interval, and the ticks after the late one neither bunch nor shorten.
    void realClockGivesEveryPhaseItsIntervalAfterAHold()
    {
        rt::EventLoopClock clock;
        TimedForm form(clock);
        form.handOverLikeTheGame();
        QTimer::singleShot(1390, Qt::PreciseTimer, &form, [] { QTest::qSleep(400); });
        QTRY_COMPARE_WITH_TIMEOUT(form.ticks.size(), 6, 10000);
        form.c.setEnabled(false);
        QVERIFY2(form.at[2] - form.at[1] >= 700ms, "the hold did not delay the third reveal");
        for (qsizetype i = 1; i < form.at.size(); ++i) {
            const auto interval = form.ticks[i].startsWith('c') ? 300ms : 500ms;
            QVERIFY2(form.at[i] - form.at[i - 1] >= interval - 1ms, qPrintable(form.ticks.join(' ')));
        }
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
