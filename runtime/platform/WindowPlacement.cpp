// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPlacement.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QList>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace rt {

// The window's connection to its X server, and the names it asks by.
struct FrameCentring::X11 {
    xcb_connection_t* connection;
    xcb_window_t window;
    xcb_atom_t frameExtents;

    template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

    xcb_atom_t atom(const char* name) const
    {
        const Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(
                connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    // A property of 32-bit values of the given type; empty where it is not set.
    QList<quint32> values(xcb_window_t of, xcb_atom_t property, xcb_atom_t type) const
    {
        const Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(connection, xcb_get_property(connection, 0, of, property, type, 0, 1024), nullptr),
            &std::free);
        if (!reply || reply->format != 32)
            return {};
        QList<quint32> values(xcb_get_property_value_length(reply.get()) / 4);
        std::memcpy(values.data(), xcb_get_property_value(reply.get()), values.size() * 4);
        return values;
    }

    // The frame as the window manager has told it, if it has.
    std::optional<QMargins> frame() const { return frameOfExtents(values(window, frameExtents, XCB_ATOM_CARDINAL)); }

    // Asks the window manager to tell the frame it will put around the window, where it offers to.
    void askForFrame() const
    {
        const Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr), &std::free);
        const xcb_atom_t request = atom("_NET_REQUEST_FRAME_EXTENTS");
        if (!tree || !values(tree->root, atom("_NET_SUPPORTED"), XCB_ATOM_ATOM).contains(request))
            return;
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = request;
        xcb_send_event(connection, 0, tree->root,
            XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
            reinterpret_cast<const char*>(&message));
        xcb_flush(connection);
    }
};

FrameCentring::FrameCentring(QWidget& window)
    : window_(window)
{
    // The offscreen platform offers the interface too, without a connection.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    x11_ = std::make_unique<X11>(X11{x11->connection(), static_cast<xcb_window_t>(window.winId()), XCB_ATOM_NONE});
    x11_->frameExtents = x11_->atom("_NET_FRAME_EXTENTS");
    x11_->askForFrame();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

FrameCentring::~FrameCentring()
{
    if (x11_)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void FrameCentring::show()
{
    if (x11_) {
        if (const std::optional<QMargins> frame = x11_->frame())
            centreIn(*frame);
    }
    window_.show();
}

std::optional<QMargins> frameOfExtents(const QList<quint32>& extents)
{
    // left, right, top, bottom
    if (extents.size() != 4)
        return std::nullopt;
    return QMargins(int(extents[0]), int(extents[2]), int(extents[1]), int(extents[3]));
}

QPoint clientPlaceForCentredFrame(QSize size, const QMargins& frame, const QRect& area)
{
    const QRect framed = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size.grownBy(frame), area);
    return framed.topLeft() + QPoint(frame.left(), frame.top());
}

void FrameCentring::centreIn(const QMargins& frame)
{
    window_.setGeometry(QRect(
        clientPlaceForCentredFrame(window_.size(), frame, window_.screen()->availableGeometry()), window_.size()));
    centred_ = true;
}

bool FrameCentring::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (centred_ || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
    // Told as the window manager frames the window, before the player can move it.
    if (notify->window != x11_->window || notify->atom != x11_->frameExtents || !window_.isVisible())
        return false;
    if (const std::optional<QMargins> frame = x11_->frame())
        centreIn(*frame);
    return false;
}

} // namespace rt
