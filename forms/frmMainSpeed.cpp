// SPDX-License-Identifier: GPL-3.0-or-later
// What the window prepares so that the moments a player times show at once.
#include "frmMain.h"

// What a cell shows: one of the letters that randomLetter draws.
static QStringList capitalLetters()
{
    QStringList letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        letters << QString(QChar(letter));
    return letters;
}

// A reveal, the correction and the hide's instruction would otherwise lay out their text and
// render its glyphs the first time they are shown, late by up to a millisecond; done once the
// first frame is out, while the player reads the window, they cost only their drawing then.
void frmMain::prepareCaptions()
{
    lblLetter(0).willShow(capitalLetters());
    lblLetterWrong(0).willShow(capitalLetters());
    Label1.willShow({typeFromMemory});
}
