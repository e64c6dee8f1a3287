// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFrame.h"

#include <QGuiApplication>
#include <QList>
#include <QWidget>

#ifdef KORIMO_HAVE_XCB
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#endif

namespace rt {

#ifdef KORIMO_HAVE_XCB
namespace {

using namespace std::chrono_literals;

// A window manager answers at once; one that has not within half a second is not waited for.
constexpr auto answerWithin = 500ms;

class X11Window {
public:
    X11Window(xcb_connection_t* connection, xcb_window_t window)
        : connection_(connection)
        , window_(window)
    {
    }

    xcb_window_t root() const
    {
        const Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window_), nullptr), &std::free);
        return tree ? tree->root : xcb_window_t(XCB_WINDOW_NONE);
    }

    xcb_atom_t atom(const char* name) const
    {
        const Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(
                connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    // A property of 32-bit values of the given type; empty where it is not set.
    QList<quint32> values(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) const
    {
        const Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(
                connection_, xcb_get_property(connection_, 0, window, property, type, 0, 1024), nullptr),
            &std::free);
        if (!reply || reply->format != 32)
            return {};
        QList<quint32> values(xcb_get_property_value_length(reply.get()) / 4);
        std::memcpy(values.data(), xcb_get_property_value(reply.get()), values.size() * 4);
        return values;
    }

    // Asks the window manager of `root` to set _NET_FRAME_EXTENTS on the window.
    void requestFrameExtents(xcb_window_t root, xcb_atom_t request) const
    {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window_;
        message.type = request;
        xcb_send_event(connection_, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
            reinterpret_cast<const char*>(&message));
        xcb_flush(connection_);
    }

    xcb_window_t window() const { return window_; }

private:
    template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

    xcb_connection_t* connection_;
    xcb_window_t window_;
};

QMargins askWindowManager(const X11Window& x11)
{
    const xcb_window_t root = x11.root();
    const xcb_atom_t request = x11.atom("_NET_REQUEST_FRAME_EXTENTS");
    if (root == XCB_WINDOW_NONE || !x11.values(root, x11.atom("_NET_SUPPORTED"), XCB_ATOM_ATOM).contains(request))
        return {};
    x11.requestFrameExtents(root, request);
    const xcb_atom_t extents = x11.atom("_NET_FRAME_EXTENTS");
    const auto giveUp = std::chrono::steady_clock::now() + answerWithin;
    do {
        // left, right, top, bottom
        const QList<quint32> frame = x11.values(x11.window(), extents, XCB_ATOM_CARDINAL);
        if (frame.size() == 4)
            return QMargins(int(frame[0]), int(frame[2]), int(frame[1]), int(frame[3]));
        std::this_thread::sleep_for(1ms);
    } while (std::chrono::steady_clock::now() < giveUp);
    return {};
}

} // namespace
#endif

QMargins expectedFrame(QWidget& window)
{
#ifdef KORIMO_HAVE_XCB
    // The offscreen platform offers the interface too, without a connection.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection())
        return askWindowManager(X11Window(x11->connection(), static_cast<xcb_window_t>(window.winId())));
#else
    Q_UNUSED(window);
#endif
    return {};
}

} // namespace rt
