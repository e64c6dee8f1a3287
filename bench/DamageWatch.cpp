// SPDX-License-Identifier: GPL-3.0-or-later
#include "DamageWatch.h"

#include <xcb/damage.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>

DamageWatch::DamageWatch()
    : connection_(xcb_connect(nullptr, nullptr))
{
    if (xcb_connection_has_error(connection_))
        throw std::runtime_error("DamageWatch: cannot connect to the X server");
    // The server takes no other request of the extension before the client has said its version.
    std::free(xcb_damage_query_version_reply(connection_,
        xcb_damage_query_version(connection_, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION), nullptr));
    notifyEvent_ = xcb_get_extension_data(connection_, &xcb_damage_id)->first_event + XCB_DAMAGE_NOTIFY;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    wakeWindow_ = xcb_generate_id(connection_);
    xcb_create_window(connection_, 0, wakeWindow_, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
        XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_flush(connection_);
    thread_ = std::thread([this] { readReports(); });
}

DamageWatch::~DamageWatch()
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = wakeWindow_;
    xcb_send_event(connection_, 0, wakeWindow_, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
    thread_.join();
    xcb_disconnect(connection_);
}

void DamageWatch::watch(xcb_window_t window)
{
    xcb_damage_create(connection_, xcb_generate_id(connection_), window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_flush(connection_);
}

std::vector<DamageStamp> DamageWatch::take()
{
    const std::lock_guard lock(mutex_);
    return std::exchange(stamps_, {});
}

void DamageWatch::readReports()
{
    while (const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event{
        xcb_wait_for_event(connection_), &std::free}) {
        const auto at = std::chrono::steady_clock::now().time_since_epoch();
        const std::uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CLIENT_MESSAGE)
            return;
        if (type != notifyEvent_)
            continue;
        const auto* report = reinterpret_cast<const xcb_damage_notify_event_t*>(event.get());
        const std::lock_guard lock(mutex_);
        stamps_.push_back(
            {at, report->drawable, {report->area.x, report->area.y, report->area.width, report->area.height}});
    }
}
