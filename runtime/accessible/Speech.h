// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

namespace rt {

// Says short texts through speech-dispatcher, the speech server that screen readers speak
// through, if it runs. Each text is queued as a message, as a screen reader queues its own: it
// neither cuts off nor is cut off by what the screen reader says. The server is spoken to from
// a thread of its own, so a slow or stalled server never holds up the window (beyond sayFirst's
// bounded wait).
class Speech {
public:
    Speech();
    Speech(const Speech&) = delete;
    Speech& operator=(const Speech&) = delete;
    ~Speech();

    void say(const QString& text);
    // Says a text ahead of what a screen reader says once this returns: waits until the server
    // has queued it, for 100 ms at most.
    void sayFirst(const QString& text);

private:
    struct Worker;
    std::shared_ptr<Worker> worker_;
};

} // namespace rt
