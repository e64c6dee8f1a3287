// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"
#include "Game.h"

#include <runtime/clock/EventLoopClock.h>
#include <runtime/platform/WindowSystem.h>

#include <QApplication>
#include <QStyleFactory>

#include <cstdlib>

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = readCommandLine(argc, argv))
        return *status;
    // One style everywhere, so the window looks the same on every desktop; set before the
    // application object, so that its -style option still overrides it.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    rt::sendPixelsInRequests();
    qInstallMessageHandler(endWithoutWindowSystem);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    nameApplication();
    rt::EventLoopClock clock;
    Game game(clock);
    return rt::endProgram(game.run());
}
