// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <utility>

// Keys as a keyboard hands them to a window, for the tests and the benchmarks.
namespace keys {

// Where the keyboard sends a key: the window's focused widget, or the window itself.
inline QWidget* target(QWidget& window)
{
    return window.focusWidget() ? window.focusWidget() : &window;
}

inline void send(QWidget* target, QEvent::Type type, Qt::Key key, const QString& text, bool autoRepeat = false,
    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(type, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(target, &event);
}

// A press and its release, each to where the focus is at that moment.
inline void press(QWidget& window, Qt::Key key, const QString& text = {}, bool autoRepeat = false,
    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    send(target(window), QEvent::KeyPress, key, text, autoRepeat, modifiers);
    send(target(window), QEvent::KeyRelease, key, text, autoRepeat, modifiers);
}

// The key code a keyboard reports with the character: letters by their capital, other ASCII by
// its own code, Backspace, Tab, Enter and Escape by their key, anything else unknown.
inline Qt::Key keyFor(QChar character)
{
    static constexpr std::pair<char16_t, Qt::Key> controls[]
        = {{u'\b', Qt::Key_Backspace}, {u'\t', Qt::Key_Tab}, {u'\r', Qt::Key_Return}, {u'\x1b', Qt::Key_Escape}};
    const char16_t code = character.unicode();
    for (const auto& [control, key] : controls) {
        if (code == control)
            return key;
    }
    if (code >= u'a' && code <= u'z')
        return Qt::Key(code - u'a' + u'A');
    return code >= u' ' && code <= u'~' ? Qt::Key(code) : Qt::Key_unknown;
}

} // namespace keys
