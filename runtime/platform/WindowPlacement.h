// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>

class QWidget;

namespace rt {

// The frame that the window manager will put around `window`, a top-level window not yet shown,
// where the window manager tells it beforehand (on X11, through _NET_REQUEST_FRAME_EXTENTS); no
// margins where it does not, or where there is none.
QMargins expectedFrame(QWidget& window);

} // namespace rt
