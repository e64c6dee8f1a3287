// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the input's bytes into events on the real window, checked as in the random test: the
// bytes choose each event where the random test draws it from a seeded engine.
#include <tests/game/GameFixture.h>
#include <tests/randomplay/GameModel.h>

#include <QApplication>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Keeps one input's run short, so that the fuzzer tries many.
constexpr std::size_t maxEvents = 2000;

[[noreturn]] void report(const QString& problem, const play::Sequence& played)
{
    std::fprintf(stderr, "after event %zu: %s\nevents: %s\n", played.size() - 1, qPrintable(problem),
        qPrintable(play::toCode(played)));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The fuzzer's own arguments are not Qt's. The application lives until the process ends:
    // the fuzzer ends it with exit(), after which Qt can no longer be torn down in order.
    static int argc = 1;
    static char name[] = "fuzz_events";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider bytes(data, size);
    const play::Chooser below
        = [&bytes](std::uint32_t bound) { return bytes.ConsumeIntegralInRange<std::uint32_t>(0, bound - 1); };
    const play::Mix mix = bytes.ConsumeBool() ? play::Mix::Climb : play::Mix::Chaos;
    GameFixture game;
    play::GameModel model(game);
    play::Sequence played;
    while (bytes.remaining_bytes() > 0 && !model.ended() && played.size() < maxEvents) {
        played.push_back(play::drawEvent(below, mix));
        if (const QString problem = model.step(played.back()); !problem.isEmpty())
            report(problem, played);
    }
    return 0;
}
