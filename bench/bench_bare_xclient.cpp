// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline for changes reaching the screen: a bare X client that keeps the same 500 ms
// rhythm with nothing between the deadline and the X server. It opens a small window, prints
// its id, then at every deadline (absolute, on the monotonic clock) fills one caret-sized
// rectangle, black and white in turn, and flushes the connection. At the end it prints the
// deadlines in ns.
// Usage: bench_bare_xclient <start in ns of the monotonic clock> <changes>
#include "Deadlines.h"

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>

using namespace std::chrono_literals;

namespace {

xcb_gcontext_t fillIn(xcb_connection_t* connection, xcb_window_t window, std::uint32_t colour)
{
    const xcb_gcontext_t context = xcb_generate_id(connection);
    xcb_create_gc(connection, context, window, XCB_GC_FOREGROUND, &colour);
    return context;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3)
        return 2;
    const std::chrono::nanoseconds start(std::strtoll(argv[1], nullptr, 10));
    const int changes = std::atoi(argv[2]);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t background = screen->white_pixel;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 1100, 800, 120, 160, 0,
        XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, &background);
    xcb_map_window(connection, window);
    const xcb_gcontext_t pens[]
        = {fillIn(connection, window, screen->black_pixel), fillIn(connection, window, screen->white_pixel)};
    xcb_flush(connection);
    std::printf("%u\n", window);
    std::fflush(stdout);
    const xcb_rectangle_t caret{19, 107, 6, 36};
    for (int j = 1; j <= changes; ++j) {
        sleepUntil(start + j * 500ms);
        xcb_poly_fill_rectangle(connection, window, pens[j % 2 ? 0 : 1], 1, &caret);
        xcb_flush(connection);
    }
    sleepUntil(start + changes * 500ms + 100ms); // the last report reaches the watcher first
    xcb_disconnect(connection);
    for (int j = 1; j <= changes; ++j)
        std::printf("%lld ", static_cast<long long>((start + j * 500ms).count()));
    std::printf("\n");
    return 0;
}
