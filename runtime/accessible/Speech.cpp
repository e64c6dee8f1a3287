// SPDX-License-Identifier: GPL-3.0-or-later
#include "Speech.h"

#include <libspeechd.h>
#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace rt {

// Shared by the window and the thread that speaks, so that a thread stalled on the server can be
// left behind when the window goes.
struct Speech::Worker {
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable queued;
    std::deque<QByteArray> texts;
    std::uint64_t given = 0;
    std::uint64_t handedOver = 0;
    bool stopping = false;
    bool ended = false;
    int socket = -1;

    void run()
    {
        // Only to a server that runs already: where none runs, no screen reader speaks either.
        char* error = nullptr;
        SPDConnection* spd = spd_open2("korimo", "main", nullptr, SPD_MODE_SINGLE, nullptr, 0, &error);
        std::free(error);
        if (spd) {
            setSocket(spd->socket);
            while (const auto text = next()) {
                spd_say(spd, SPD_MESSAGE, text->constData());
                countHandedOver();
            }
            setSocket(-1);
            spd_close(spd);
        }
        const std::lock_guard lock(mutex);
        ended = true;
        queued.notify_all();
    }

    void countHandedOver()
    {
        const std::lock_guard lock(mutex);
        ++handedOver;
        queued.notify_all();
    }

    std::optional<QByteArray> next()
    {
        std::unique_lock lock(mutex);
        wake.wait(lock, [this] { return stopping || !texts.empty(); });
        if (stopping)
            return std::nullopt;
        QByteArray text = std::move(texts.front());
        texts.pop_front();
        return text;
    }

    void setSocket(int descriptor)
    {
        const std::lock_guard lock(mutex);
        socket = descriptor;
    }

    // Ends the thread: a wait for the server's answer ends with the connection.
    void stop()
    {
        const std::lock_guard lock(mutex);
        stopping = true;
        if (socket >= 0)
            ::shutdown(socket, SHUT_RDWR);
        wake.notify_one();
    }
};

Speech::Speech() = default;

Speech::~Speech()
{
    if (worker_)
        worker_->stop();
}

void Speech::say(const QString& text)
{
    if (!worker_) {
        worker_ = std::make_shared<Worker>();
        std::thread([worker = worker_] { worker->run(); }).detach();
    }
    const std::lock_guard lock(worker_->mutex);
    // Where no server answered, nothing would ever take the text.
    if (worker_->ended)
        return;
    worker_->texts.push_back(text.toUtf8());
    ++worker_->given;
    worker_->wake.notify_one();
}

void Speech::sayFirst(const QString& text)
{
    say(text);
    std::unique_lock lock(worker_->mutex);
    worker_->queued.wait_for(lock, std::chrono::milliseconds(100),
        [worker = worker_.get()] { return worker->handedOver == worker->given || worker->ended; });
}

} // namespace rt
