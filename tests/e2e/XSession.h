// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <xcb/xcb.h>

// A rectangle drawn into a window, with the server's time of the drawing in ms.
struct Damage {
    quint32 serverMs;
    QRect area;
};

// An X server of the test's own (Xvfb on a free display) with openbox managing its windows.
// The test sees it only as a user's tools would: window properties and pixels through xcb,
// key presses and clicks through xdotool (XTest).
class XSession {
public:
    ~XSession();

    // Starts the server and the window manager; returns what went wrong, or an empty string.
    QString start();
    // Whether the window manager hands each window it maps the focus (it does at first); some
    // desktops hold it back until the user clicks the window.
    void setFocusNewWindows(bool focus);

    // The environment for a program that should open its windows in this session.
    QProcessEnvironment clientEnvironment() const;
    // Makes the process end with the test, even when the test dies without cleaning up: left
    // running, it would hold the test's output open and keep ctest waiting until its timeout.
    static void endWithTest(QProcess& process);
    QSize screenSize() const { return {screen_->width_in_pixels, screen_->height_in_pixels}; }

    // The top-level window that the process `pid` has mapped and the window manager manages, or 0.
    xcb_window_t managedWindowOf(qint64 pid);
    xcb_window_t activeWindow();
    // The window's client area in screen coordinates; and with the window manager's frame, once
    // it has one.
    QRect geometry(xcb_window_t window);
    QRect frameGeometry(xcb_window_t window);
    // The window's pixels; a null image once the window is gone.
    QImage grab(xcb_window_t window);
    QByteArray property(xcb_window_t window, const char* name);
    QList<quint32> cardinals(xcb_window_t window, const char* name);
    QStringList atomNames(xcb_window_t window, const char* name);
    // From now on the server reports each rectangle drawn into the window.
    void watchDamage(xcb_window_t window);
    // The rectangles drawn since the last call, in the order they were drawn.
    QList<Damage> takeDamage();
    // What the close box of the window's frame does: ask the window manager to close it.
    void requestClose(xcb_window_t window);

    void pressKeys(const QStringList& keys) { run(QStringLiteral("xdotool key --delay 40"), keys); }
    void type(const QString& text) { run(QStringLiteral("xdotool type --delay 60"), {text}); }
    // Without --sync, which waits for ever when the pointer is there already; the server moves it
    // before the click all the same.
    void click(QPoint at) { run(QStringLiteral("xdotool mousemove %1 %2 click 1").arg(at.x()).arg(at.y())); }
    // Moves the window's client area as the user would, through the window manager.
    void move(xcb_window_t window, QPoint at);

private:
    xcb_atom_t atom(const char* name);
    // Runs a tool in the session: its name and first arguments, split at spaces, then more.
    void run(const QString& command, const QStringList& moreArguments = {});

    QProcess server_;
    QProcess windowManager_;
    QTemporaryDir configuration_;
    QByteArray settings_;
    QString display_;
    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
};
