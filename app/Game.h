// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <forms/frmMain.h>
#include <runtime/accessible/FormAccessibles.h>
#include <runtime/platform/WindowPlacement.h>

namespace rt {
class Clock;
}

// Called before the application object is made: one style everywhere, so that the window looks
// the same on every desktop (made before it, the application's -style option still overrides
// it); and the application named as its desktop entry says, for desktops that match windows to
// entries (Wayland's application id, X11's window class).
void prepareApplication();

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
