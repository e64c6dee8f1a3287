// SPDX-License-Identifier: GPL-3.0-or-later
#include "Deadlines.h"

#include <ctime>

std::chrono::nanoseconds monotonicNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

void sleepUntil(std::chrono::nanoseconds deadline)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(deadline);
    const timespec at{static_cast<time_t>(seconds.count()), static_cast<long>((deadline - seconds).count())};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) != 0) { }
}
