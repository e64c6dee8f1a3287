// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QRect>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

// Watches one widget's paint events: counts them and stamps when each began, keeps the largest
// one's bounding rectangle, and tells when a paint touching a given area has been painted and
// handed to the window system.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget& widget);

    void reset();
    int paints() const { return paints_; }
    QRect largest() const { return largest_; }
    // When each paint since the last reset began, on the steady clock.
    const std::vector<std::chrono::nanoseconds>& begun() const { return begun_; }

    // Runs `change`, then the event loop until a paint touching `area` has completed, whether the
    // change painted at once or left it to the event loop; returns the steady-clock time at which
    // it had.
    std::chrono::nanoseconds paintAfter(const std::function<void()>& change, const QRect& area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int paints_ = 0;
    std::vector<std::chrono::nanoseconds> begun_;
    QRect largest_;
    std::optional<QRect> awaited_;
    std::optional<std::chrono::nanoseconds> paintedAt_;
};
