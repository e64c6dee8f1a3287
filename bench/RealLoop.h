// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

class QWidget;

// Runs the event loop for `duration`.
void runEventLoopFor(std::chrono::milliseconds duration);
// Runs the event loop until the window is on the screen and its first paints have settled.
void waitUntilShown(QWidget& window);
