// SPDX-License-Identifier: GPL-3.0-or-later
#include "PaintWatch.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QWidget>

namespace {

qint64 areaOf(const QRect& rect)
{
    return qint64(rect.width()) * rect.height();
}

} // namespace

PaintWatch::PaintWatch(QWidget& widget)
{
    widget.installEventFilter(this);
}

void PaintWatch::reset()
{
    paints_ = 0;
    begun_.clear();
    largest_ = QRect();
}

std::chrono::nanoseconds PaintWatch::paintAfter(const std::function<void()>& change, const QRect& area)
{
    awaited_ = area;
    paintedAt_.reset();
    change();
    while (!paintedAt_)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return *paintedAt_;
}

bool PaintWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Paint)
        return QObject::eventFilter(watched, event);
    begun_.push_back(std::chrono::steady_clock::now().time_since_epoch());
    const QRect painted = static_cast<QPaintEvent*>(event)->rect();
    ++paints_;
    if (areaOf(painted) > areaOf(largest_))
        largest_ = painted;
    if (awaited_ && painted.intersects(*awaited_)) {
        awaited_.reset();
        // Runs once the paint, and the flush that follows it, have returned.
        QMetaObject::invokeMethod(
            this, [this] { paintedAt_ = std::chrono::steady_clock::now().time_since_epoch(); }, Qt::QueuedConnection);
    }
    return false;
}
