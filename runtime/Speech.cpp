// SPDX-License-Identifier: GPL-3.0-or-later
#include "Speech.h"

#include <libspeechd.h>

namespace rt {

struct Speech::Connection {
    Connection()
        : spd(spd_open("korimo", "main", nullptr, SPD_MODE_SINGLE))
    {
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection()
    {
        if (spd)
            spd_close(spd);
    }

    SPDConnection* spd;
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
