// SPDX-License-Identifier: GPL-3.0-or-later
#include "Keyboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

void pressKey(QWidget& window, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(window.focusWidget() ? window.focusWidget() : &window, &press);
}

void pressLetter(QWidget& window, QChar letter)
{
    pressKey(window, Qt::Key(Qt::Key_A + (letter.toUpper().unicode() - 'A')), QString(letter));
}
