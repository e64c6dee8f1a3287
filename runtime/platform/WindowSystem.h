// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace rt {

// Call before the application object is made. On X11 the windows' pixels then travel to the X
// server inside the drawing requests instead of through shared memory. Before Qt paints again
// over pixels it handed over in shared memory, it waits for the server to have read them (a round
// trip), so every blink and every repainted cell would wait for the X server to be scheduled
// first; copying a cell's pixels takes microseconds.
void sendPixelsInRequests();

// What the program returns once its window has gone: `status`. Qt 6.4's Wayland client can
// deadlock while it disconnects (its event thread waits on a read that the main thread
// prepared), so there the program ends at once, with `status`: the compositor cleans up after a
// client that just ends.
int endProgram(int status);

} // namespace rt
