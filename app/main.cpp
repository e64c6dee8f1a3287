// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <forms/frmMain.h>
#include <forms/frmMainScreenReader.h>
#include <runtime/accessible/FormAccessibles.h>
#include <runtime/clock/EventLoopClock.h>
#include <runtime/form/Run.h>
#include <runtime/platform/WindowPlacement.h>
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
    // Wayland ignores the window icon; the compositor finds the bulb through the desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(KORIMO_APP_ID));
    rt::EventLoopClock clock;
    frmMain form(clock);
    rt::FormAccessibles accessibles(form);
    accessibles.setSpeaker(rt::speechWhileAScreenReaderRuns());
    declareToScreenReaders(form, accessibles);
    rt::FrameCentring centring(form);
    return rt::endProgram(rt::openAndRun(form, [&centring](QWidget&) { centring.show(); }));
}
