// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GameModel.h"

#include <chrono>
#include <functional>
#include <optional>

namespace play {

struct Failure {
    int event; // index of the event after which the problem showed
    QString problem;
};

struct Outcome {
    std::optional<Failure> failure;
    Tally tally;
    Phase phase; // where the sequence left the game
};

// Plays the events on a new window whose random source starts from `seed`, checking after
// each; stops at the first problem, or when the window has closed.
Outcome replay(const Sequence& events, std::uint64_t seed, Paints paints = Paints::Unchecked);

using Deadline = std::chrono::steady_clock::time_point;

// Cuts events away while `fails` holds, down to a sequence from which no single event can go,
// or to the shortest one found by the deadline.
Sequence shrink(
    Sequence events, const std::function<bool(const Sequence&)>& fails, Deadline deadline = Deadline::max());

// The seed, the problem, and the shortest sequence found within a minute that breaks the same
// rule, as source code that a test can keep.
QString reproduction(std::uint64_t seed, const Sequence& events, const Failure& failure, Paints paints);

} // namespace play
