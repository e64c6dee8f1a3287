// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

// The monotonic clock, which steady_clock and the timer descriptors read on Linux, so that
// processes can share deadlines.
std::chrono::nanoseconds monotonicNow();
// Sleeps to an absolute deadline on that clock, as a bare program keeping a rhythm does.
void sleepUntil(std::chrono::nanoseconds deadline);
