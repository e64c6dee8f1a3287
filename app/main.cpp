// SPDX-License-Identifier: GPL-3.0-or-later
#include <forms/frmMain.h>
#include <runtime/EventLoopClock.h>

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Wayland ignores the window icon; the compositor finds the bulb through the desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(KORIMO_APP_ID));
    // One style everywhere, so the window looks the same on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    rt::EventLoopClock clock;
    frmMain form(clock);
    QObject::connect(&form, &rt::Form::unloaded, &app, [](int exitCode) { QApplication::exit(exitCode); });
    form.open();
    if (form.isUnloaded())
        return 1;
    return QApplication::exec();
}
