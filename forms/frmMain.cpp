// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmMain.h"

#include <runtime/values/Strings.h>

void frmMain::cmdExit_Click()
{
    unload();
}

// Whenever this begins, the only run-time cells on the window are cells 1..failedUpper of the
// display row and of the correction row.
void frmMain::cmdStart_Click()
{
    const rt::Int16 n = failedUpper;
    if (n > 0) {
        for (rt::Int16 i = 1; i <= n; ++i) {
            lblLetterWrong.unload(i);
            lblLetter.unload(i);
            shpBack.unload(i);
            shpBackWrong.unload(i);
        }
        lblLetterWrong(0).setVisible(false);
        shpBackWrong(0).setVisible(false);
    }
    lblLetter(0).setVisible(false);
    shpBack(0).setVisible(false);
    Label3.setCaption(QString());
    Label1.setCaption(QStringLiteral("记住下列每个字母"));
    Timer1.setEnabled(true);
    shownLetters.redim(0);
    shownLetters(0) = randomLetter();
    lblLetter(0).setCaption(shownLetters(0));
    cmdStart.setEnabled(false);
    cmdRestart.setEnabled(false);
}

void frmMain::cmdRestart_Click()
{
    inputPos = 0;
    letterCount = 3;
    shpBack(0).setVisible(false);
    lblLetter(0).setVisible(false);
    linCursor.setVisible(false);
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
    tmrCursor.setEnabled(false);
    cmdStart_Click();
}

void frmMain::Form_Load()
{
    letterCount = 3;
    inputPos = 0;
    Label1.setCaption(QStringLiteral("点击“开始”，记住显示的每个字母"));
}

QString frmMain::randomLetter()
{
    const double r = random().next();
    return rt::chr(rt::toInt32(rt::intPart(26 * r) + rt::asc(QStringLiteral("A"))));
}
