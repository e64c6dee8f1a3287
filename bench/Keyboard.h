// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <Qt>

class QWidget;

// Hands a key press to the window's focused widget, or to the window, as the keyboard would.
void pressKey(QWidget& window, Qt::Key key, const QString& text);
// The same for a capital or small letter A–Z.
void pressLetter(QWidget& window, QChar letter);
