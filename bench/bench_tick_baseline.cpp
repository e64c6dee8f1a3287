// SPDX-License-Identifier: GPL-3.0-or-later
// The tick-timing baseline: a bare loop that sleeps to absolute deadlines 500 ms apart on the
// monotonic clock and prints how late it woke, "median p99 max" in ms. Its deadlines fall
// halfway between the game's, so that the two never wake together.
// Usage: bench_tick_baseline <ticks>
#include "BenchReport.h"
#include "Deadlines.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    using namespace std::chrono_literals;
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 0;
    const std::chrono::nanoseconds start = monotonicNow() + 250ms;
    std::vector<double> lateness;
    for (int j = 1; j <= ticks; ++j) {
        const std::chrono::nanoseconds deadline = start + j * 500ms;
        sleepUntil(deadline);
        lateness.push_back(toMs(monotonicNow() - deadline));
    }
    const Spread spread = spreadOf(lateness);
    std::printf("%f %f %f\n", spread.median, spread.p99, spread.max);
    return 0;
}
