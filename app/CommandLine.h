// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

// Read before the window system is opened, so that --help and --version work without a display
// and a missing display ends with one line instead of an abort. Returns the exit status when the
// program ends here; nothing when the window is to open.
std::optional<int> readCommandLine(int argc, char* argv[]);

// Installed while the application object opens the window system: Qt's failure to open it ends
// the program with status 1 and one line naming the display, instead of an abort.
void endWithoutWindowSystem(QtMsgType type, const QMessageLogContext& context, const QString& message);
