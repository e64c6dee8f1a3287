// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmMain.h"

#include <runtime/values/Strings.h>

void frmMain::Form_KeyPress(rt::Int16 keyAscii)
{
    // Letters and Backspace count only while an answer is being entered (the caret blinks
    // exactly then): in Ready there is no answer to write into, and a second judgement in
    // Failed would load correction cells that are loaded already.
    if (Timer1.isEnabled() || Timer2.isEnabled() || inputPos >= letterCount || !tmrCursor.isEnabled())
        return;
    const QString s = rt::ucase(rt::chr(keyAscii));
    if (!(s > QStringLiteral("Z") || s < QStringLiteral("A"))) {
        linCursor.setX1(linCursor.x1() + 70);
        linCursor.setX2(linCursor.x2() + 70);
        typedLetters(inputPos) = s;
        lblLetter(inputPos).setCaption(s);
        inputPos = inputPos + 1;
        if (inputPos == letterCount)
            judgeAnswer();
    }
    if (keyAscii == 8) {
        inputPos = inputPos - 1;
        if (inputPos < 0)
            inputPos = 0;
        PlaceCursor();
        typedLetters(inputPos) = QString();
        lblLetter(inputPos).setCaption(QString());
    }
}

void frmMain::judgeAnswer()
{
    rt::Int16 matched = 0;
    while (matched < letterCount && typedLetters(matched) == shownLetters(matched))
        ++matched;
    inputPos = 0;
    linCursor.setVisible(false);
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
    tmrCursor.setEnabled(false);
    if (matched > letterCount - 1)
        continueAfterCorrectAnswer();
    else
        showCorrection();
}

void frmMain::continueAfterCorrectAnswer()
{
    Label1.setCaption(QStringLiteral("输入正确，继续下一步测试"));
    for (rt::Int16 j = 1; j <= letterCount - 1; ++j) {
        shpBack.unload(j);
        lblLetter.unload(j);
    }
    shpBack(0).setVisible(false);
    lblLetter(0).setVisible(false);
    // The length stops growing where the next cell's position would no longer fit 16 bits.
    if (letterCount < maxLetterCount)
        letterCount = letterCount + 1;
    failedUpper = 0;
    cmdStart_Click();
}

void frmMain::showCorrection()
{
    Label1.setCaption(QStringLiteral("输入错误，多数人能记忆七个字母，回车重新进行当前步测试"));
    Label3.setCaption(QStringLiteral("正确的字母序列应为："));
    cmdStart.setCaption(QStringLiteral("重复本步"));
    cmdStart.setEnabled(true);
    cmdRestart.setEnabled(true);
    cmdStart.setFocus();
    for (rt::Int16 j = 1; j <= letterCount - 1; ++j) {
        lblLetterWrong.load(j);
        shpBackWrong.load(j);
    }
    for (rt::Int16 j = 0; j <= letterCount - 1; ++j) {
        lblLetterWrong(j).setLeft((70 * j + 20).toSingle());
        lblLetterWrong(j).setTop(220);
        shpBackWrong(j).setLeft((70 * j + 22).toSingle());
        shpBackWrong(j).setTop(222);
        lblLetterWrong(j).setCaption(shownLetters(j));
        lblLetterWrong(j).setVisible(true);
        shpBackWrong(j).setVisible(true);
    }
    failedUpper = letterCount - 1;
}
