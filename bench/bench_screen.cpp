// SPDX-License-Identifier: GPL-3.0-or-later
// When the changes that the game's ticks make reach the screen, watched from outside through the
// X server's DAMAGE reports: the reveals, the hide and the caret's blinks, against a bare X client
// and a bare Qt widget that keep the same 500 ms rhythm, each a program of its own, the widget once
// as a plain Qt program and once repainting at once. The four take turns, round after round. Then
// the typed letters of a wrong answer, one by one.
// Usage: bench_screen [rounds] [changes per round]
#include "BenchReport.h"
#include "DamageWatch.h"
#include "PaintWatch.h"
#include "RealLoop.h"
#include "WrongAnswer.h"

#include <forms/frmMain.h>
#include <runtime/clock/EventLoopClock.h>
#include <runtime/platform/WindowSystem.h>
#include <tests/shared/Design.h>

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <QStyleFactory>
#include <QTimer>

#include <algorithm>
#include <optional>

using namespace std::chrono_literals;
using std::chrono::nanoseconds;

namespace {

using design::tickInterval;
// Whatever a change draws is reported within this long after its due time, before the next is due.
constexpr auto changeWindow = 400ms;
// How long a typed letter may take to be reported drawn.
constexpr auto keyWindow = 50ms;

// One tick as it ran: its instant (its due time, or when it ran if that was more than 1 ms late,
// from which what follows then counts), when it began to run, and when it returned, its change
// painted and sent to the X server.
struct Tick {
    nanoseconds instant;
    nanoseconds ranAt;
    nanoseconds sentAt;
};

// The event loop's clock, stamping every tick of every timer on it.
class StampingClock : public rt::EventLoopClock {
public:
    std::unique_ptr<rt::ClockTimer> createTimer(std::function<void()> onTick) override
    {
        return rt::EventLoopClock::createTimer([this, onTick = std::move(onTick)] {
            const Tick began{intervalStart(), now(), {}};
            onTick();
            ticks_.push_back(began);
            ticks_.back().sentAt = now();
            if (ticks_.size() == awaited_ && loop_)
                QTimer::singleShot(changeWindow, Qt::PreciseTimer, loop_, &QEventLoop::quit);
        });
    }

    std::size_t tickCount() const { return ticks_.size(); }

    // Runs the event loop until `count` ticks have run and the last one's change has had its
    // time to reach the screen.
    std::vector<Tick> runTicks(std::size_t count)
    {
        QEventLoop loop;
        ticks_.clear();
        awaited_ = count;
        loop_ = &loop;
        loop.exec();
        loop_ = nullptr;
        ticks_.resize(count);
        return std::exchange(ticks_, {});
    }

private:
    std::vector<Tick> ticks_;
    std::size_t awaited_ = 0;
    QEventLoop* loop_ = nullptr;
};

enum class Kind { Reveal, Hide, Blink, Fill };

// Where a change's time went, in ms: from its due time until its tick ran, from then until the
// paint began, from then until the pixels had been sent, and from then until the X server had
// drawn them and reported it.
struct Steps {
    double wake;
    double toPaint;
    double toSent;
    double toScreen;
};

struct Sample {
    Kind kind;
    int round;
    double lateness; // from the due time until the last rectangle of the change was reported
    std::optional<Steps> steps; // where the program's own paints could be watched
};

struct Subject {
    std::vector<Sample> samples;
    int unseen = 0; // changes of which no report came

    std::vector<double> lateness(std::optional<Kind> kind = {}, std::optional<int> round = {}) const
    {
        std::vector<double> values;
        for (const Sample& s : samples) {
            if ((!kind || s.kind == *kind) && (!round || s.round == *round))
                values.push_back(s.lateness);
        }
        return values;
    }
};

// When the last rectangle drawn into `window` for the change due at `due` was reported.
std::optional<nanoseconds> reportedAt(
    const std::vector<DamageStamp>& damage, xcb_window_t window, nanoseconds due, nanoseconds within = changeWindow)
{
    std::optional<nanoseconds> last;
    for (const DamageStamp& drawn : damage) {
        if (drawn.window == window && drawn.at >= due && drawn.at < due + within)
            last = drawn.at;
    }
    return last;
}

struct Watched {
    xcb_window_t window;
    const std::vector<nanoseconds>& paintsBegun;
};

// The samples of one step's ticks, the first due a tick after `start`: the reveals of its
// `letters`, the hide tick, then blinks.
void addGameTicks(Subject& game, const std::vector<Tick>& ticks, nanoseconds start, const Watched& watched,
    const std::vector<DamageStamp>& damage, int round, std::size_t letters)
{
    for (std::size_t k = 0; k < ticks.size(); ++k) {
        const nanoseconds due = (k ? ticks[k - 1].instant : start) + tickInterval;
        const std::optional<nanoseconds> reported = reportedAt(damage, watched.window, due);
        if (!reported) {
            ++game.unseen;
            continue;
        }
        const auto painted
            = std::ranges::find_if(watched.paintsBegun, [&](nanoseconds begun) { return begun >= ticks[k].ranAt; });
        std::optional<Steps> steps;
        if (painted != watched.paintsBegun.end() && *painted <= ticks[k].sentAt && ticks[k].sentAt <= *reported)
            steps = Steps{toMs(ticks[k].ranAt - due), toMs(*painted - ticks[k].ranAt), toMs(ticks[k].sentAt - *painted),
                toMs(*reported - ticks[k].sentAt)};
        const Kind kind = k < letters ? Kind::Reveal : k == letters ? Kind::Hide : Kind::Blink;
        game.samples.push_back({kind, round, toMs(*reported - due), steps});
    }
}

struct Bench {
    QProcessEnvironment baselineEnvironment; // the one the benchmark was given, for the baselines
    DamageWatch watch;
    StampingClock clock;
    int changes = 50;
    Subject game;
    std::vector<double> typing; // from a key handed to the window until its change was reported drawn
    Subject bareClient;
    Subject bareWidget;
    Subject quickestWidget; // the bare Qt widget repainting within its tick, pixels sent as the game's
};

// Types a wrong answer one letter at a time, and for each but the last (whose judgement redraws
// the rows) takes how long the typed letter and the caret's move took to be reported drawn; a
// key that a blink came close to is left out.
void typeWatched(Bench& bench, frmMain& form)
{
    const auto window = static_cast<xcb_window_t>(form.winId());
    while (form.tmrCursor.isEnabled()) {
        const bool last = form.inputPos.value() == form.letterCount.value() - 1;
        bench.watch.take();
        const std::size_t ticks = bench.clock.tickCount();
        const nanoseconds sent = bench.clock.now();
        typeWrongLetter(form);
        runEventLoopFor(keyWindow);
        const std::optional<nanoseconds> reported = reportedAt(bench.watch.take(), window, sent, keyWindow);
        if (!last && reported && bench.clock.tickCount() == ticks)
            bench.typing.push_back(toMs(*reported - sent));
    }
}

// A step of the game with the blinks that follow, `changes` in all; a wrong answer ends it.
void gameRound(Bench& bench, frmMain& form, PaintWatch& paints, int round)
{
    // Cells from the eleventh on lie past the window's right edge, where a reveal draws nothing.
    const int letters = std::min(10, bench.changes * 2 / 5);
    form.letterCount = letters;
    paints.reset();
    bench.watch.take();
    const nanoseconds start = bench.clock.now();
    {
        const rt::Clock::Event click(bench.clock, start); // the clicked button's instant: the grid starts here
        form.cmdStart.widget()->click();
    }
    const std::vector<Tick> ticks = bench.clock.runTicks(static_cast<std::size_t>(bench.changes));
    const std::vector<DamageStamp> damage = bench.watch.take();
    typeWatched(bench, form);
    runEventLoopFor(300ms);
    addGameTicks(bench.game, ticks, start, {static_cast<xcb_window_t>(form.winId()), paints.begun()}, damage, round,
        static_cast<std::size_t>(letters));
}

// A round of a baseline program, which keeps the rhythm from the start it is given and tells
// when each of its changes was due.
void baselineRound(Bench& bench, Subject& subject, const QString& program, int round, const QStringList& options = {})
{
    QProcess baseline;
    baseline.setProcessEnvironment(bench.baselineEnvironment);
    baseline.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    bench.watch.take();
    // Time for it to start and open its window, on a busy machine too.
    const nanoseconds start = bench.clock.now() + 1500ms;
    baseline.start(program, QStringList{QString::number(start.count()), QString::number(bench.changes)} + options);
    if (!baseline.waitForReadyRead(10000))
        qFatal("%s reported no window", qPrintable(program));
    const auto window = static_cast<xcb_window_t>(baseline.readLine().trimmed().toUInt());
    bench.watch.watch(window);
    baseline.waitForFinished(-1);
    const std::vector<DamageStamp> damage = bench.watch.take();
    for (const QByteArray& figure : baseline.readAll().simplified().split(' ')) {
        const nanoseconds due(figure.toLongLong());
        if (const std::optional<nanoseconds> reported = reportedAt(damage, window, due))
            subject.samples.push_back({Kind::Fill, round, toMs(*reported - due), {}});
        else
            ++subject.unseen;
    }
}

QString quantilesText(const std::vector<double>& values)
{
    return QStringLiteral("%1 / %2 / %3 / %4 ms")
        .arg(fixed(median(values)), fixed(percentile(values, 0.9)), fixed(percentile(values, 0.99)),
            fixed(percentile(values, 1)));
}

QString spreadText(const Subject& subject)
{
    const QString unseen = subject.unseen ? QStringLiteral(", %1 unseen").arg(subject.unseen) : QString();
    return quantilesText(subject.lateness()) + unseen;
}

// The aim: the game's p99 within 0.5 ms of the bare X client's, or 1 ms at most.
bool withinAim(double gameP99, double clientP99)
{
    return gameP99 <= std::max(clientP99 + 0.5, 1.0);
}

void printAgainst(const Bench& bench, const QString& baselineName, const Subject& baseline, bool judged)
{
    const double game = percentile(bench.game.lateness(), 0.99);
    const double base = percentile(baseline.lateness(), 0.99);
    QString comparison
        = QStringLiteral("p99 %1%2 ms").arg(game >= base ? QStringLiteral("+") : QString(), fixed(game - base));
    if (judged)
        comparison += QStringLiteral("; aim within +0.5 ms (or ≤ 1 ms): ")
            + (withinAim(game, base) ? QStringLiteral("met") : QStringLiteral("missed"));
    printRow(QStringLiteral("Changes to the screen (DAMAGE), lateness p50 / p90 / p99 / worst over %1 changes, "
                            "against a %2")
                 .arg(bench.game.samples.size() + bench.game.unseen)
                 .arg(baselineName),
        spreadText(bench.game), baselineName + QStringLiteral(": ") + spreadText(baseline), comparison);
}

void printRounds(const Bench& bench, int rounds)
{
    const auto p99s = [rounds](const Subject& subject) {
        QStringList texts;
        for (int r = 0; r < rounds; ++r)
            texts << fixed(percentile(subject.lateness({}, r), 0.99));
        return texts.join(QStringLiteral(", ")) + QStringLiteral(" ms");
    };
    int met = 0;
    for (int r = 0; r < rounds; ++r)
        met += withinAim(
            percentile(bench.game.lateness({}, r), 0.99), percentile(bench.bareClient.lateness({}, r), 0.99));
    printRow(QStringLiteral("Changes to the screen, p99 of each round (%1 rounds, taking turns)").arg(rounds),
        p99s(bench.game),
        QStringLiteral("bare X client: ") + p99s(bench.bareClient) + QStringLiteral("; bare Qt widget: ")
            + p99s(bench.bareWidget) + QStringLiteral("; repainting at once: ") + p99s(bench.quickestWidget),
        QStringLiteral("aim met in %1 of %2 rounds").arg(met).arg(rounds));
}

void printKinds(const Bench& bench)
{
    const auto text = [&](Kind kind) {
        const std::vector<double> values = bench.game.lateness(kind);
        return QStringLiteral("%1 / %2 ms").arg(fixed(median(values)), fixed(percentile(values, 0.99)));
    };
    printRow(QStringLiteral("Changes to the screen by kind, p50 / p99: reveals (%1), hides (%2), blinks (%3)")
                 .arg(bench.game.lateness(Kind::Reveal).size())
                 .arg(bench.game.lateness(Kind::Hide).size())
                 .arg(bench.game.lateness(Kind::Blink).size()),
        text(Kind::Reveal) + QStringLiteral("; ") + text(Kind::Hide) + QStringLiteral("; ") + text(Kind::Blink),
        QStringLiteral("bare X client: ") + spreadText(bench.bareClient), QStringLiteral("–"));
}

// Where the time of the game's changes of one kind goes, as medians and p99s of each step.
QString stepsText(const Subject& game, Kind kind)
{
    std::vector<double> wake;
    std::vector<double> toPaint;
    std::vector<double> toSent;
    std::vector<double> toScreen;
    for (const Sample& sample : game.samples) {
        if (sample.kind != kind || !sample.steps)
            continue;
        wake.push_back(sample.steps->wake);
        toPaint.push_back(sample.steps->toPaint);
        toSent.push_back(sample.steps->toSent);
        toScreen.push_back(sample.steps->toScreen);
    }
    const auto both = [](const std::vector<double>& values) {
        return QStringLiteral("%1 / %2").arg(fixed(median(values)), fixed(percentile(values, 0.99)));
    };
    return QStringLiteral("%1; %2; %3; %4 ms").arg(both(wake), both(toPaint), both(toSent), both(toScreen));
}

void printTyping(const Bench& bench)
{
    const std::vector<double>& typing = bench.typing;
    printRow(QStringLiteral("Typed letter and caret move to the screen (DAMAGE), key handed to the window → reported "
                            "drawn, p50 / p90 / p99 / worst over %1 keys")
                 .arg(typing.size()),
        quantilesText(typing), QStringLiteral("–"), QStringLiteral("–"));
}

void printSteps(const Bench& bench)
{
    const std::pair<Kind, QString> kinds[] = {{Kind::Reveal, QStringLiteral("reveals")},
        {Kind::Hide, QStringLiteral("hides")}, {Kind::Blink, QStringLiteral("blinks")}};
    for (const auto& [kind, name] : kinds)
        printRow(QStringLiteral("Where the time of the %1 goes, p50 / p99: due → tick runs; → paint begins; → "
                                "painted and sent; → reported drawn")
                     .arg(name),
            stepsText(bench.game, kind), QStringLiteral("–"), QStringLiteral("–"));
}

} // namespace

int main(int argc, char* argv[])
{
    Bench bench;
    bench.baselineEnvironment = QProcessEnvironment::systemEnvironment();
    rt::sendPixelsInRequests(); // as the game's main does
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QStringList arguments = QCoreApplication::arguments();
    const int rounds = arguments.size() > 1 ? arguments[1].toInt() : 3;
    if (arguments.size() > 2)
        bench.changes = arguments[2].toInt();

    frmMain form(bench.clock);
    form.open();
    waitUntilShown(form);
    PaintWatch gamePaints(form);
    bench.watch.watch(static_cast<xcb_window_t>(form.winId()));
    for (int round = 0; round < rounds; ++round) {
        gameRound(bench, form, gamePaints, round);
        baselineRound(bench, bench.bareClient, QStringLiteral(BARE_XCLIENT_APP), round);
        baselineRound(bench, bench.bareWidget, QStringLiteral(BARE_TICKER_APP), round);
        baselineRound(
            bench, bench.quickestWidget, QStringLiteral(BARE_TICKER_APP), round, {QStringLiteral("--at-once")});
    }
    printAgainst(bench, QStringLiteral("bare X client"), bench.bareClient, true);
    printAgainst(bench, QStringLiteral("bare Qt widget on the same clock"), bench.bareWidget, false);
    printAgainst(bench, QStringLiteral("bare Qt widget repainting at once"), bench.quickestWidget, false);
    printRounds(bench, rounds);
    printKinds(bench);
    printSteps(bench);
    printTyping(bench);
    return 0;
}
