// SPDX-License-Identifier: GPL-3.0-or-later
// On the real event loop: when the game's ticks fire against their schedule, how long a typed
// letter takes to reach the screen, and what the window costs while it waits; the bare window
// is measured alongside.
// Usage: bench_realtime [seconds of blinking] [seconds per idle measurement] [key samples]
#include "BareWindow.h"
#include "BenchReport.h"
#include "PaintWatch.h"
#include "RealLoop.h"
#include "WrongAnswer.h"

#include <forms/frmMain.h>
#include <runtime/clock/EventLoopClock.h>
#include <runtime/platform/WindowSystem.h>
#include <tests/shared/Design.h>
#include <tests/shared/Keyboard.h>

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <QStyleFactory>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <thread>

using namespace std::chrono_literals;
using std::chrono::nanoseconds;

namespace {

constexpr int stepLetters = 20;
using design::tickInterval;

struct Options {
    int blinkSeconds = 60;
    int idleSeconds = 10;
    int keySamples = 200;
};

nanoseconds now()
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

double processCpuMs()
{
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    return toMs(std::chrono::seconds(cpu.tv_sec) + nanoseconds(cpu.tv_nsec));
}

// From handing a key press to the window until the paint of `area` that follows has completed.
double keyToScreenMs(QWidget& window, PaintWatch& watch, const QRect& area, Qt::Key key, const QString& text)
{
    const nanoseconds sent = now();
    const nanoseconds painted
        = watch.paintAfter([&] { keys::send(keys::target(window), QEvent::KeyPress, key, text); }, area);
    return toMs(painted - sent);
}

struct Idle {
    double cpuMsPerMinute = 0;
    double paintsPerSecond = 0;
};

Idle idleOver(double cpuMs, nanoseconds wall, int paints)
{
    return {cpuMs * 60000 / toMs(wall), paints * 1000 / toMs(wall)};
}

Idle measureIdle(QWidget& window, std::chrono::seconds duration)
{
    PaintWatch watch(window);
    const double cpu = processCpuMs();
    const nanoseconds start = now();
    runEventLoopFor(duration);
    return idleOver(processCpuMs() - cpu, now() - start, watch.paints());
}

// When each tick of one step fired, from Start on: the reveals, the hide tick, then the caret
// toggles; and the cost of the blinking, from the first toggle to the last.
struct StepTicks {
    nanoseconds start{};
    std::vector<nanoseconds> at;
    Idle blinking;
    QRect largestBlinkPaint;
    Spread bareSleeper; // lateness of the baseline, which ran alongside
};

// The baseline for tick timing, started alongside a step.
class BareSleeper {
public:
    explicit BareSleeper(std::size_t ticks)
    {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(TICK_BASELINE_APP), {QString::number(ticks)});
    }

    Spread lateness()
    {
        process_.waitForFinished();
        const QList<QByteArray> figures = process_.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() != 3)
            qFatal("the tick baseline reported nothing");
        return {figures[0].toDouble(), figures[1].toDouble(), figures[2].toDouble()};
    }

private:
    QProcess process_;
};

void restoreTickHandlers(frmMain& form)
{
    form.Timer1.onTimer([&form] { form.Timer1_Timer(); });
    form.Timer2.onTimer([&form] { form.Timer2_Timer(); });
    form.tmrCursor.onTimer([&form] { form.tmrCursor_Timer(); });
}

StepTicks runStep(frmMain& form, int toggles)
{
    StepTicks ticks;
    const std::size_t firstToggle = stepLetters + 1;
    const std::size_t total = firstToggle + static_cast<std::size_t>(toggles);
    QEventLoop loop;
    PaintWatch watch(form);
    double blinkCpu = 0;
    const auto logTicks = [&](rt::Timer& timer, void (frmMain::*handler)()) {
        timer.onTimer([&, handler] {
            ticks.at.push_back(now());
            (form.*handler)();
            if (ticks.at.size() == firstToggle + 1) {
                watch.reset();
                blinkCpu = processCpuMs();
            }
            if (ticks.at.size() == total)
                loop.quit();
        });
    };
    logTicks(form.Timer1, &frmMain::Timer1_Timer);
    logTicks(form.Timer2, &frmMain::Timer2_Timer);
    logTicks(form.tmrCursor, &frmMain::tmrCursor_Timer);
    form.letterCount = stepLetters;
    BareSleeper bareSleeper(total);
    ticks.start = now();
    form.cmdStart.widget()->click();
    loop.exec();
    ticks.bareSleeper = bareSleeper.lateness();
    ticks.blinking = idleOver(processCpuMs() - blinkCpu, ticks.at.back() - ticks.at[firstToggle], watch.paints());
    ticks.largestBlinkPaint = watch.largest();
    restoreTickHandlers(form);
    return ticks;
}

// A step of five letters with the event loop held 400 ms between the second and the third
// reveal, as a busy machine or a swapped-out process would hold it: the shortest time from one
// change of the display row to the next, from the first reveal to the hide tick.
double shortestLetterAfterHoldMs(frmMain& form)
{
    std::vector<nanoseconds> changes;
    QEventLoop loop;
    form.Timer1.onTimer([&] {
        changes.push_back(now());
        form.Timer1_Timer();
        if (changes.size() == 2)
            QTimer::singleShot(390ms, Qt::PreciseTimer, &form, [] { std::this_thread::sleep_for(400ms); });
    });
    form.Timer2.onTimer([&] {
        changes.push_back(now());
        form.Timer2_Timer();
        loop.quit();
    });
    form.letterCount = 5;
    form.cmdStart.widget()->click();
    loop.exec();
    restoreTickHandlers(form);
    std::vector<double> shown;
    for (std::size_t i = 1; i < changes.size(); ++i)
        shown.push_back(toMs(changes[i] - changes[i - 1]));
    return *std::min_element(shown.begin(), shown.end());
}

// Types a letter into the answer and takes it back again, `samples` times.
std::vector<double> gameKeyLatencies(frmMain& form, int samples)
{
    PaintWatch watch(form);
    std::vector<double> latencies;
    for (int i = 0; i < samples; ++i) {
        const QRect cell = form.lblLetter(form.inputPos).bounds();
        latencies.push_back(keyToScreenMs(form, watch, cell, Qt::Key_K, QStringLiteral("k")));
        keyToScreenMs(form, watch, cell, Qt::Key_Backspace, QStringLiteral("\b"));
    }
    return latencies;
}

std::vector<double> bareKeyLatencies(BareWindow& window, int samples)
{
    PaintWatch watch(window.label());
    std::vector<double> latencies;
    for (int i = 0; i < samples; ++i) {
        const bool odd = i % 2;
        latencies.push_back(keyToScreenMs(window, watch, window.label().rect(), odd ? Qt::Key_B : Qt::Key_A,
            odd ? QStringLiteral("b") : QStringLiteral("a")));
    }
    return latencies;
}

QString spreadText(const Spread& spread)
{
    return QStringLiteral("%1 / %2 / %3 ms").arg(fixed(spread.median), fixed(spread.p99), fixed(spread.max));
}

// `clockName` tells the rows of another clock apart.
void printTickRows(const StepTicks& ticks, const QString& clockName = QString())
{
    std::vector<double> reveals;
    std::vector<double> hide;
    std::vector<double> toggles;
    std::vector<double> all; // against the grid from Start, for the drift
    nanoseconds due = ticks.start;
    for (std::size_t j = 1; j <= ticks.at.size(); ++j) {
        // Each tick against its own due time: a tick more than 1 ms late moves the schedule on.
        due += tickInterval;
        const double lateness = toMs(ticks.at[j - 1] - due);
        if (lateness > 1)
            due = ticks.at[j - 1];
        (j <= stepLetters ? reveals : j == stepLetters + 1 ? hide : toggles).push_back(lateness);
        all.push_back(toMs(ticks.at[j - 1] - ticks.start - static_cast<int>(j) * tickInterval));
    }
    const QString baseline = QStringLiteral("bare sleeper: ") + spreadText(ticks.bareSleeper);
    const auto printSpread = [&](const QString& what, const std::vector<double>& deviations) {
        const Spread spread = spreadOf(deviations);
        printRow(what + clockName + QStringLiteral(", lateness median / p99 / max"), spreadText(spread), baseline,
            QStringLiteral("aim ≤ 1 ms: ") + (spread.max <= 1 ? QStringLiteral("met") : QStringLiteral("missed")));
    };
    printSpread(QStringLiteral("Reveal ticks (%1)").arg(reveals.size()), reveals);
    printSpread(QStringLiteral("Hide tick"), hide);
    printSpread(QStringLiteral("Caret toggles (%1)").arg(toggles.size()), toggles);
    // Medians of the first and the last few ticks, so that one tick held up by another process
    // does not pass for drift.
    const auto window = static_cast<std::ptrdiff_t>(std::min<std::size_t>(10, all.size()));
    const double drift = median({all.end() - window, all.end()}) - median({all.begin(), all.begin() + window});
    printRow(QStringLiteral("Drift%4, first %1 ticks → last %1 (of %2 over %3 s), median lateness")
                 .arg(window)
                 .arg(all.size())
                 .arg(fixed(toMs(ticks.at.back() - ticks.start) / 1000, 1), clockName),
        fixed(drift) + QStringLiteral(" ms"), QStringLiteral("0 ms"),
        QStringLiteral("aim none: ") + (std::abs(drift) <= 0.1 ? QStringLiteral("met") : QStringLiteral("missed")));
}

void printHoldRow(double shortestMs)
{
    printRow(QStringLiteral("Shortest time a letter stays on screen after a 400 ms hold"),
        fixed(shortestMs) + QStringLiteral(" ms"), QStringLiteral("500 ms interval"),
        QStringLiteral("aim ≥ 499 ms: ") + (shortestMs >= 499 ? QStringLiteral("met") : QStringLiteral("missed")));
}

// The same step on the portable clock, in a window of its own.
StepTicks runStepOnPortableClock(int toggles)
{
    rt::PortableClock clock;
    frmMain form(clock);
    form.open();
    waitUntilShown(form);
    return runStep(form, toggles);
}

void printLatencyRow(const std::vector<double>& game, const std::vector<double>& bare)
{
    const Spread korimo = spreadOf(game);
    const Spread baseline = spreadOf(bare);
    printRow(QStringLiteral("Key to screen, median / p99 (%1 keys)").arg(game.size()),
        QStringLiteral("%1 / %2 ms").arg(fixed(korimo.median), fixed(korimo.p99)),
        QStringLiteral("%1 / %2 ms").arg(fixed(baseline.median), fixed(baseline.p99)),
        ratio(korimo.median, baseline.median));
}

void printIdleRow(const QString& state, const Idle& game, const Idle& bare, const QString& aim)
{
    const auto text = [](const Idle& idle) {
        return QStringLiteral("%1 ms/min, %2 paints/s")
            .arg(fixed(idle.cpuMsPerMinute, 1), fixed(idle.paintsPerSecond, 1));
    };
    printRow(QStringLiteral("CPU while idle in ") + state, text(game), text(bare),
        ratio(game.cpuMsPerMinute, bare.cpuMsPerMinute) + QStringLiteral("; ") + aim);
}

void printBlinkRegionRow(const StepTicks& ticks, const QRect& caret)
{
    const QRect painted = ticks.largestBlinkPaint;
    const bool own = caret.contains(painted);
    printRow(QStringLiteral("Largest repaint of a caret blink"),
        QStringLiteral("%1×%2 px").arg(painted.width()).arg(painted.height()),
        QStringLiteral("caret's region %1×%2 px").arg(caret.width()).arg(caret.height()),
        own ? QStringLiteral("only the caret's region") : QStringLiteral("more than the caret's region"));
}

struct BareFigures {
    Idle idle;
    std::vector<double> latencies;
    Idle blinking;
};

BareFigures measureBareWindow(const Options& options)
{
    BareWindow bare;
    bare.show();
    waitUntilShown(bare);
    BareFigures figures;
    figures.idle = measureIdle(bare, std::chrono::seconds(options.idleSeconds));
    figures.latencies = bareKeyLatencies(bare, options.keySamples);
    bare.startBlinking();
    figures.blinking = measureIdle(bare, std::chrono::seconds(options.idleSeconds));
    return figures;
}

Options parseOptions(const QStringList& arguments)
{
    Options options;
    int* const fields[] = {&options.blinkSeconds, &options.idleSeconds, &options.keySamples};
    for (qsizetype i = 1; i < arguments.size() && i <= 3; ++i)
        *fields[i - 1] = arguments[i].toInt();
    return options;
}

} // namespace

int main(int argc, char* argv[])
{
    rt::sendPixelsInRequests(); // as the game's main does
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const Options options = parseOptions(QCoreApplication::arguments());
    const std::chrono::seconds idleTime(options.idleSeconds);

    const BareFigures bare = measureBareWindow(options);

    rt::EventLoopClock clock;
    frmMain form(clock);
    form.open();
    waitUntilShown(form);
    const Idle ready = measureIdle(form, idleTime);
    const StepTicks ticks = runStep(form, 2 * options.blinkSeconds);
    const QRect caret = form.linCursor.bounds();
    const std::vector<double> gameLatencies = gameKeyLatencies(form, options.keySamples);
    typeWrongAnswer(form);
    runEventLoopFor(300ms);
    const Idle failed = measureIdle(form, idleTime);
    const double shortestAfterHold = shortestLetterAfterHoldMs(form);
    form.close();
    const StepTicks portableTicks = runStepOnPortableClock(2 * options.blinkSeconds);

    printTickRows(ticks);
    printTickRows(portableTicks, QStringLiteral(", portable clock"));
    printHoldRow(shortestAfterHold);
    printLatencyRow(gameLatencies, bare.latencies);
    const QString nothing = QStringLiteral("aim: nothing beyond the bare window");
    printIdleRow(QStringLiteral("Ready"), ready, bare.idle, nothing);
    printIdleRow(QStringLiteral("Answering (caret blinks)"), ticks.blinking, bare.blinking,
        QStringLiteral("aim: the blink's 2 repaints/s only; baseline blinks a bar too"));
    printIdleRow(QStringLiteral("Failed"), failed, bare.idle, nothing);
    printBlinkRegionRow(ticks, caret);
    return 0;
}
