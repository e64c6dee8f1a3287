// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowSystem.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QtGlobal>

#include <cstdlib>

namespace rt {

void sendPixelsInRequests()
{
    qputenv("QT_XCB_NO_MITSHM", "1");
}

int endProgram(int status)
{
    if (QGuiApplication::platformName() == u"wayland")
        std::_Exit(status);
    return status;
}

} // namespace rt
