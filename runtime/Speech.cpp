// SPDX-License-Identifier: GPL-3.0-or-later
#include "Speech.h"

#include <libspeechd.h>

#include <cstdlib>

namespace rt {

struct Speech::Connection {
    // Only to a server that runs already: where none runs, no screen reader speaks either, and
    // starting one would hold up the window.
    Connection()
    {
        char* error = nullptr;
        spd = spd_open2("korimo", "main", nullptr, SPD_MODE_SINGLE, nullptr, 0, &error);
        std::free(error);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection()
    {
        if (spd)
            spd_close(spd);
    }

    SPDConnection* spd = nullptr;
};

Speech::Speech() = default;
Speech::~Speech() = default;

void Speech::say(const QString& text)
{
    if (!connection_)
        connection_ = std::make_unique<Connection>();
    if (connection_->spd)
        spd_say(connection_->spd, SPD_MESSAGE, text.toUtf8().constData());
}

} // namespace rt
