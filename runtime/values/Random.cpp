// SPDX-License-Identifier: GPL-3.0-or-later
#include "Random.h"

namespace rt {

Random::Random()
    : engine_(std::random_device{}())
{
}

void Random::reseed(std::chrono::nanoseconds clockReading)
{
    engine_.seed(engine_() ^ static_cast<std::uint64_t>(clockReading.count()));
}

double Random::next()
{
    constexpr double twoToMinus53 = 1.0 / 9007199254740992.0;
    return static_cast<double>(engine_() >> 11) * twoToMinus53;
}

} // namespace rt
