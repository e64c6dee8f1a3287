// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <forms/frmMain.h>
#include <runtime/accessible/FormAccessibles.h>
#include <runtime/platform/WindowPlacement.h>

namespace rt {
class Clock;
}

// Names the application as its desktop entry does, for desktops that match windows to entries
// by it (Wayland's application id).
void nameApplication();

// The game's window with what the program attaches around it: the screen-reader wing, whose
// speech goes out while a screen reader runs, and the frame centred as the window appears.
class Game {
public:
    explicit Game(rt::Clock& clock);

    frmMain& form() { return form_; }
    // Opens the window and runs until it is unloaded; returns the program's exit status.
    int run();

private:
    frmMain form_;
    rt::FormAccessibles accessibles_;
    rt::FrameCentring centring_;
};
