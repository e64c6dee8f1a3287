// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <memory>
#include <optional>

class QWidget;

namespace rt {

// The frame that _NET_FRAME_EXTENTS tells, where it holds one.
std::optional<QMargins> frameOfExtents(const QList<quint32>& extents);

// Where a client area of `size` goes for the frame around it to stand centred in `area`.
QPoint clientPlaceForCentredFrame(QSize size, const QMargins& frame, const QRect& area);

// Centres the frame, title bar included, that the window manager puts around a top-level window,
// without ever waiting for the window manager. On X11 the frame is asked for as soon as this is
// made (_NET_REQUEST_FRAME_EXTENTS); where the answer has come by the time the window is shown,
// the frame is centred as the window appears. Where it has not (a window manager that never
// answers, or does not offer the request), the window shows with its client area centred and is
// moved once, as the window manager tells the frame it has put around it (_NET_FRAME_EXTENTS)
// while framing it, before the player can move it. Elsewhere it just shows the window.
class FrameCentring : public QAbstractNativeEventFilter {
public:
    explicit FrameCentring(QWidget& window);
    FrameCentring(const FrameCentring&) = delete;
    FrameCentring& operator=(const FrameCentring&) = delete;
    ~FrameCentring() override;

    // Shows the window, placed with its client area centred on its screen's available area: its
    // frame centred instead where the window manager has told it already.
    void show();

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void centreIn(const QMargins& frame);

    struct X11;
    std::unique_ptr<X11> x11_;
    QWidget& window_;
    bool centred_ = false;
};

} // namespace rt
