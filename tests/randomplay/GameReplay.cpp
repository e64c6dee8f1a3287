// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameModel.h"

#include <tests/game/GameFixture.h>

namespace play {

namespace {

// The rule a problem breaks: its text up to the first colon.
QString ruleOf(const QString& problem)
{
    return problem.section(QLatin1Char(':'), 0, 0);
}

Sequence without(const Sequence& events, std::size_t from, std::size_t count)
{
    Sequence rest(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(from));
    rest.insert(
        rest.end(), events.begin() + static_cast<std::ptrdiff_t>(std::min(from + count, events.size())), events.end());
    return rest;
}

// One pass over the events: at each place, keeps the shorter sequence that `cut` makes there while
// it still fails, and otherwise moves on by `step` events.
bool shorten(Sequence& events, std::size_t step,
    const std::function<std::optional<Sequence>(const Sequence&, std::size_t)>& cut, const Fails& fails,
    Deadline deadline)
{
    bool shortened = false;
    for (std::size_t at = 0; at < events.size() && std::chrono::steady_clock::now() < deadline;) {
        std::optional<Sequence> shorter = cut(events, at);
        if (shorter && fails(*shorter)) {
            events = std::move(*shorter);
            shortened = true;
        } else {
            at += step;
        }
    }
    return shortened;
}

// Two advances of the clock in a row, made one.
std::optional<Sequence> joinAdvances(const Sequence& events, std::size_t at)
{
    const auto* first = std::get_if<Advance>(&events[at]);
    const auto* second = at + 1 < events.size() ? std::get_if<Advance>(&events[at + 1]) : nullptr;
    if (!first || !second)
        return std::nullopt;
    Sequence joined = without(events, at + 1, 1);
    joined[at] = Advance{first->milliseconds + second->milliseconds};
    return joined;
}

} // namespace

Outcome replay(const Sequence& events, std::uint64_t seed, Paints paints)
{
    GameFixture game(seed);
    GameModel model(game, paints);
    for (std::size_t i = 0; i < events.size() && !model.ended(); ++i) {
        const QString problem = model.step(events[i]);
        if (!problem.isEmpty())
            return {Failure{static_cast<int>(i), problem}, model.tally(), model.expected().phase};
    }
    return {std::nullopt, model.tally(), model.expected().phase};
}

// Drops halves, then quarters and so on, and single events until none can go; then joins
// neighbouring advances of the clock, which may let more events go.
Sequence shrink(Sequence events, const Fails& fails, Deadline deadline)
{
    do {
        for (std::size_t chunk = std::max<std::size_t>(events.size() / 2, 1);;
             chunk = std::max<std::size_t>(chunk / 2, 1)) {
            const auto drop = [chunk](const Sequence& from, std::size_t at) { return without(from, at, chunk); };
            if ((!shorten(events, chunk, drop, fails, deadline) && chunk == 1)
                || std::chrono::steady_clock::now() >= deadline)
                break;
        }
    } while (shorten(events, 1, joinAdvances, fails, deadline));
    return events;
}

QString reproduction(std::uint64_t seed, const Sequence& events, const Failure& failure, Paints paints)
{
    const QString rule = ruleOf(failure.problem);
    const Sequence played(events.begin(), events.begin() + failure.event + 1);
    const auto failsAlike = [&](const Sequence& candidate) {
        const Outcome outcome = replay(candidate, seed, paints);
        return outcome.failure && ruleOf(outcome.failure->problem) == rule;
    };
    const Sequence shortest = shrink(played, failsAlike, std::chrono::steady_clock::now() + std::chrono::minutes(1));
    // Beyond a screenful, the seed is the better reproduction.
    const QString code = shortest.size() <= 100 ? toCode(shortest) : QStringLiteral("(too long to print)");
    return QStringLiteral("seed %1, event %2: %3\nshortest sequence found that breaks the same rule (%4 events):\n%5")
        .arg(seed)
        .arg(failure.event)
        .arg(failure.problem)
        .arg(shortest.size())
        .arg(code);
}

} // namespace play
