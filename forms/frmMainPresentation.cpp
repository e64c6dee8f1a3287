// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmMain.h"

void frmMain::Timer1_Timer()
{
    random().reseed(clock().now());
    const rt::Int16 k = revealIndex;
    if (k == 0) {
        lblLetter(0).setLeft(20);
        lblLetter(0).setTop(100);
        shpBack(0).setLeft(22);
        shpBack(0).setTop(102);
        lblLetter(0).setVisible(true);
        shpBack(0).setVisible(true);
    } else {
        lblLetter.load(k);
        shpBack.load(k);
        lblLetter(k).setLeft((70 * k + 20).toSingle());
        lblLetter(k).setTop(100);
        shpBack(k).setLeft((70 * k + 22).toSingle());
        shpBack(k).setTop(102);
        lblLetter(k).setVisible(true);
        shpBack(k).setVisible(true);
        shownLetters.redimPreserve(k);
        lblLetter(k).setCaption(randomLetter());
        shownLetters(k) = lblLetter(k).caption();
    }
    revealIndex = revealIndex + 1;
    if (revealIndex >= letterCount) {
        revealIndex = 0;
        Timer1.setEnabled(false);
        Timer2.setEnabled(true);
    }
}

void frmMain::Timer2_Timer()
{
    const rt::Int16 last = letterCount - 1;
    for (rt::Int16 i = 0; i <= last; ++i)
        lblLetter(i).setCaption(QString());
    linCursor.setY1(110);
    linCursor.setY2(140);
    linCursor.setX1(22);
    linCursor.setX2(22);
    linCursor.setVisible(true);
    Timer2.setEnabled(false);
    Label1.setCaption(typeFromMemory);
    tmrCursor.setEnabled(true);
    typedLetters.redim(letterCount - 1);
    inputPos = 0;
}

void frmMain::tmrCursor_Timer()
{
    linCursor.setVisible(!linCursor.isVisible());
}

void frmMain::PlaceCursor()
{
    linCursor.setY1(110);
    linCursor.setY2(140);
    linCursor.setX1((70 * inputPos + 20 + 2).toSingle());
    linCursor.setX2((70 * inputPos + 20 + 2).toSingle());
}
