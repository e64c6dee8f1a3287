// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

#include <xcb/xcb.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

// A rectangle that the X server reports drawn into a watched window, stamped on the monotonic
// clock the moment the report arrived.
struct DamageStamp {
    std::chrono::nanoseconds at;
    xcb_window_t window;
    QRect area;
};

// Watches windows from outside, as a camera on the screen would: on an X connection and a thread
// of its own, blocked on the server's DAMAGE reports, so each is stamped as soon as it comes, whatever
// the watched program and the benchmark's own event loop are doing.
class DamageWatch {
public:
    DamageWatch(); // on $DISPLAY
    ~DamageWatch();
    DamageWatch(const DamageWatch&) = delete;
    DamageWatch& operator=(const DamageWatch&) = delete;

    // From now on every rectangle drawn into `window` is reported.
    void watch(xcb_window_t window);
    // The reports since the last call, in order of arrival.
    std::vector<DamageStamp> take();

private:
    void readReports();

    xcb_connection_t* connection_;
    xcb_window_t wakeWindow_; // the destructor's message to the thread goes here
    std::uint8_t notifyEvent_;
    std::mutex mutex_;
    std::vector<DamageStamp> stamps_;
    std::thread thread_;
};
