// SPDX-License-Identifier: GPL-3.0-or-later
#include "Game.h"

#include <forms/frmMainScreenReader.h>
#include <runtime/form/Run.h>

#include <QApplication>
#include <QStyleFactory>

void prepareApplication()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Wayland ignores the window icon; the compositor finds the bulb through the desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(KORIMO_APP_ID));
    // On X11 the window's class, which taskbars match with the entry's StartupWMClass, whatever
    // the program's file is called.
    QCoreApplication::setApplicationName(QStringLiteral("korimo"));
}

Game::Game(rt::Clock& clock)
    : form_(clock)
    , accessibles_(form_)
    , centring_(form_)
{
    accessibles_.setSpeaker(rt::speechWhileAScreenReaderRuns());
    declareToScreenReaders(form_, accessibles_);
}

int Game::run()
{
    return rt::openAndRun(form_, [this](QWidget&) { centring_.show(); });
}
