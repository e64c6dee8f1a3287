// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

// Keys as a keyboard hands them to a window, for the tests and the benchmarks.
namespace keys {

// Where the keyboard sends a key: the window's focused widget, or the window itself.
inline QWidget* target(QWidget& window)
{
    return window.focusWidget() ? window.focusWidget() : &window;
}

inline void send(QWidget* target, QEvent::Type type, Qt::Key key, const QString& text, bool autoRepeat = false)
{
    QKeyEvent event(type, key, Qt::NoModifier, text, autoRepeat);
    QApplication::sendEvent(target, &event);
}

// A press and its release, each to where the focus is at that moment.
inline void press(QWidget& window, Qt::Key key, const QString& text = {}, bool autoRepeat = false)
{
    send(target(window), QEvent::KeyPress, key, text, autoRepeat);
    send(target(window), QEvent::KeyRelease, key, text, autoRepeat);
}

// The key that types an ASCII letter of either case; Key_unknown for any other character.
inline Qt::Key letterKey(QChar character)
{
    const char16_t code = character.unicode();
    if (code >= u'a' && code <= u'z')
        return Qt::Key(Qt::Key_A + (code - u'a'));
    return code >= u'A' && code <= u'Z' ? Qt::Key(code) : Qt::Key_unknown;
}

// A capital that differs from `letter`: the wrong answer at that place.
inline QChar otherLetter(QChar letter)
{
    return letter.toUpper() == u'A' ? u'B' : u'A';
}

} // namespace keys
