// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <random>

namespace rt {

// The program's one random source. Tests seed it so that a run replays exactly.
class Random {
public:
    Random(); // unpredictable start state
    explicit Random(std::uint64_t seed)
        : engine_(seed)
    {
    }

    void seed(std::uint64_t seed) { engine_.seed(seed); }
    // Mixes a clock reading into the current state rather than replacing it, so that
    // reseeding often neither repeats nor correlates the numbers drawn after it.
    void reseed(std::chrono::nanoseconds clockReading);
    // Uniform in [0, 1); never 1, which a canonical float conversion could round up to.
    double next();

private:
    std::mt19937_64 engine_;
};

} // namespace rt
