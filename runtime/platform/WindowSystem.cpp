// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowSystem.h"

#include <QByteArray>
#include <QtGlobal>

namespace rt {

void sendPixelsInRequests()
{
    qputenv("QT_XCB_NO_MITSHM", "1");
}

} // namespace rt
