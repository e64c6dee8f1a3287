// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"
#include "Game.h"

#include <runtime/clock/EventLoopClock.h>
#include <runtime/platform/WindowSystem.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = readCommandLine(argc, argv))
        return *status;
    prepareApplication();
    rt::sendPixelsInRequests();
    qInstallMessageHandler(endWithoutWindowSystem);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    rt::EventLoopClock clock;
    Game game(clock);
    return rt::endProgram(game.run());
}
