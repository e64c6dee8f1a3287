// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextsWindow.h"

#include <tests/shared/Design.h>

namespace {

// The faces the game's captions resolve to on Debian, at the game's pixel sizes.
QFont face(const QString& family, int pixelSize)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

TextsWindow::TextsWindow()
    : title_(design::title, this)
    , start_(design::startCaption, this)
    , restart_(design::restartCaption, this)
    , exit_(design::exitCaption, this)
{
    const QString caption = QStringLiteral("AR PL UMing CN");
    setFont(face(caption, 12));
    label().setFont(face(caption, 19));
    label().setText(design::openingText);
    title_.setFont(face(QStringLiteral("P052"), 64));
    title_.setGeometry(8, -16, 417, 89);
    start_.setGeometry(16, 312, 73, 25);
    restart_.setGeometry(520, 320, 81, 25);
    exit_.setGeometry(608, 320, 73, 25);
}
