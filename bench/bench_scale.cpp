// SPDX-License-Identifier: GPL-3.0-or-later
// How the cost of a step grows with its length: a reveal tick, the hide tick, the judgement
// and a paint of the whole window, at 3 letters and at 468, each with the repaint it causes.
// The window runs on a virtual clock that never moves: the benchmarks call the handlers.
#include "BenchReport.h"

#include <forms/frmMain.h>
#include <runtime/clock/VirtualClock.h>
#include <tests/shared/Keyboard.h>
#include <tests/shared/Letters.h>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStyleFactory>
#include <QWindow>

#include <map>

namespace {

constexpr int fewest = 3;
constexpr int most = frmMain::maxLetterCount;

class Game {
public:
    explicit Game(int letters)
        : letters_(letters)
        , form_(clock_)
    {
        form_.random().seed(1);
        form_.open();
        while (!form_.windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        startStep();
    }

    frmMain& form() { return form_; }

    // The repaints that the handlers asked for.
    static void paint() { QCoreApplication::processEvents(); }

    // From Ready or Failed, or right after a right answer started the next, longer step.
    void startStep()
    {
        if (!form_.Timer1.isEnabled())
            form_.cmdStart_Click();
        form_.letterCount = letters_;
        paint();
    }

    void revealAll()
    {
        while (form_.Timer1.isEnabled())
            form_.Timer1_Timer();
        paint();
    }

    void typeLetter(bool right)
    {
        const QChar shown = form_.shownLetters(form_.inputPos).front();
        const QChar letter = right ? shown : letters::otherLetter(shown);
        keys::send(keys::target(form_), QEvent::KeyPress, keys::keyFor(letter), QString(letter));
    }

    void typeAllButLast(bool right)
    {
        while (form_.inputPos < form_.letterCount - 1)
            typeLetter(right);
        paint();
    }

    // From anywhere in a step to Failed, with both rows of cells loaded.
    void fail()
    {
        revealAll();
        if (form_.Timer2.isEnabled())
            form_.Timer2_Timer();
        while (form_.tmrCursor.isEnabled())
            typeLetter(false);
        paint();
    }

private:
    int letters_;
    rt::VirtualClock clock_;
    frmMain form_;
};

template <class Work> double secondsFor(Work work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int letters(const benchmark::State& state)
{
    return static_cast<int>(state.range(0));
}

// Every reveal tick of the step in turn: cells past the window's right edge need no repaint.
void revealTicks(benchmark::State& state)
{
    Game game(letters(state));
    for (auto _ : state) {
        if (game.form().Timer2.isEnabled()) {
            game.fail();
            game.startStep();
        }
        state.SetIterationTime(secondsFor([&] {
            game.form().Timer1_Timer();
            Game::paint();
        }));
    }
}

// The tick that reveals the last cell, with every other cell of the row loaded.
void lastRevealTick(benchmark::State& state)
{
    Game game(letters(state));
    for (auto _ : state) {
        while (game.form().revealIndex < game.form().letterCount - 1)
            game.form().Timer1_Timer();
        Game::paint();
        state.SetIterationTime(secondsFor([&] {
            game.form().Timer1_Timer();
            Game::paint();
        }));
        game.fail();
        game.startStep();
    }
}

void hideTick(benchmark::State& state)
{
    Game game(letters(state));
    for (auto _ : state) {
        game.revealAll();
        state.SetIterationTime(secondsFor([&] {
            game.form().Timer2_Timer();
            Game::paint();
        }));
        game.fail();
        game.startStep();
    }
}

void judgement(benchmark::State& state, bool right)
{
    Game game(letters(state));
    for (auto _ : state) {
        game.revealAll();
        game.form().Timer2_Timer();
        game.typeAllButLast(right);
        state.SetIterationTime(secondsFor([&] {
            game.typeLetter(right);
            Game::paint();
        }));
        game.startStep();
    }
}

void wrongAnswer(benchmark::State& state)
{
    judgement(state, false);
}

void rightAnswer(benchmark::State& state)
{
    judgement(state, true);
}

// While the answer is typed, with the display row's cells all loaded.
void caretBlink(benchmark::State& state)
{
    Game game(letters(state));
    game.revealAll();
    game.form().Timer2_Timer();
    Game::paint();
    for (auto _ : state) {
        state.SetIterationTime(secondsFor([&] {
            game.form().tmrCursor_Timer();
            Game::paint();
        }));
    }
}

// In Failed, where both rows hold a cell for every letter.
void paintWindow(benchmark::State& state)
{
    Game game(letters(state));
    game.fail();
    for (auto _ : state)
        state.SetIterationTime(secondsFor([&] { game.form().repaint(); }));
}

struct Measure {
    const char* name;
    const char* description;
    void (*run)(benchmark::State&);
    // Fixed where each sample needs a costly set-up; otherwise as many as fill the minimum time.
    benchmark::IterationCount iterations = 0;
};

const Measure measures[] = {
    {"revealTicks", "Reveal tick with its repaint, mean over the step", revealTicks},
    {"lastRevealTick", "Reveal tick of the last cell, with its repaint", lastRevealTick, 50},
    {"hideTick", "Hide tick with its repaint", hideTick, 50},
    {"wrongAnswer", "Judgement of a wrong answer, with its repaint", wrongAnswer, 50},
    {"rightAnswer", "Judgement of a right answer (next step starts), with its repaint", rightAnswer, 50},
    {"caretBlink", "Caret blink with its repaint", caretBlink},
    {"paintWindow", "Paint of the whole window in Failed (2 cells a letter)", paintWindow},
};

// Prints each benchmark's median at the fewest and the most letters as one row of the table.
class TableReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate ? run.aggregate_name == "median" : run.repetitions <= 1)
                medians_[run.run_name.function_name][run.run_name.args] = run.GetAdjustedRealTime();
        }
    }

    void Finalize() override
    {
        for (const Measure& measure : measures) {
            auto& medians = medians_[measure.name];
            if (!medians.contains(std::to_string(fewest)) || !medians.contains(std::to_string(most)))
                continue; // left out by --benchmark_filter
            const double few = medians[std::to_string(fewest)];
            const double many = medians[std::to_string(most)];
            const double growth = many / few;
            const double cells = double(most) / fewest;
            printRow(QStringLiteral("%1, %2 letters (median)").arg(QLatin1String(measure.description)).arg(most),
                fixed(many, 1) + QStringLiteral(" µs"),
                QStringLiteral("%1 µs at %2 letters").arg(fixed(few, 1)).arg(fewest),
                QStringLiteral("%1, cells ×%2: %3")
                    .arg(ratio(many, few), fixed(cells, 0),
                        growth <= cells ? QStringLiteral("within linear") : QStringLiteral("faster than linear")));
        }
    }

private:
    std::map<std::string, std::map<std::string, double>> medians_;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Defaults that the command line may override.
    std::vector<char*> arguments{argv[0], const_cast<char*>("--benchmark_repetitions=5"),
        const_cast<char*>("--benchmark_report_aggregates_only=true")};
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    for (const Measure& measure : measures) {
        benchmark::internal::Benchmark* benchmark = benchmark::RegisterBenchmark(measure.name, measure.run)
                                                        ->Arg(fewest)
                                                        ->Arg(most)
                                                        ->UseManualTime()
                                                        ->Unit(benchmark::kMicrosecond);
        if (measure.iterations > 0)
            benchmark->Iterations(measure.iterations);
        else
            benchmark->MinTime(0.05);
    }
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
