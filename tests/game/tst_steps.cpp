// SPDX-License-Identifier: GPL-3.0-or-later
// Steps played from the opening, each row to the state it must leave (GameFixture::state): the
// timed reveal, the hide tick, the caret, typing, the judgement, the step's length, Exit, and
// run-time errors.
#include "GameFixture.h"

#include <QTest>

class TestSteps : public QObject {
    Q_OBJECT

private slots:
    void aPlayLeavesTheWindowAsDescribed_data()
    {
        addPlayColumns();
        addPlay("the opening", "", "opening . . start*,restart,exit 3/0 0 -");
        // Start draws the first letter; cell k shows at 500 * (k + 1) ms, the hide tick comes after the last.
        addPlay("Start", "start", "reveal . . -start,-restart,exit 3/1 0 Timer1");
        addPlay("499 ms later", "start +499", "reveal . . -start,-restart,exit 3/1 0 Timer1");
        addPlay("500 ms", "start +500", "reveal = . -start,-restart,exit 3/1 0 Timer1");
        addPlay("1000 ms", "start +1000", "reveal == . -start,-restart,exit 3/2 0 Timer1");
        addPlay("1500 ms", "start +1500", "reveal === . -start,-restart,exit 3/3 0 Timer2");
        addPlay("the hide tick at 2000 ms", "start reveal", "answer ___ . -start,-restart,exit 3/3 0| tmrCursor");
        addPlay("the caret 499 ms later", "start reveal +499", "answer ___ . -start,-restart,exit 3/3 0| tmrCursor");
        addPlay("its first blink", "start reveal +500", "answer ___ . -start,-restart,exit 3/3 0 tmrCursor");
        addPlay("its second blink", "start reveal +1000", "answer ___ . -start,-restart,exit 3/3 0| tmrCursor");
        addPlay("a letter", "start reveal type:=", "answer =__ . -start,-restart,exit 3/3 1| tmrCursor");
        addPlay("a letter taken back", "start reveal type:=\b", "answer ___ . -start,-restart,exit 3/3 0| tmrCursor");
        addPlay("Backspace at the first cell", "start reveal type:\b",
            "answer ___ . -start,-restart,exit 3/3 0| tmrCursor");
        addPlay("a wrong letter, then two in lower case", "start reveal type:~--",
            "failed/correction ~== === repeat*,restart,exit 3/3 0 -");
        addPlay("a right answer", "start reveal type:*", "reveal . . -start,-restart,exit 4/1 0 Timer1");
        addPlay("Enter repeats a failed step", "start reveal type:* reveal type:~*\r reveal",
            "answer ____ . -repeat,-restart,exit 4/4 0| tmrCursor");
        addPlay("Restart goes back to 3 letters", "start reveal type:* reveal type:~* restart",
            "reveal . . -repeat,-restart,exit 3/1 0 Timer1");
        addPlay("Restart's step", "start reveal type:* reveal type:~* restart reveal",
            "answer ___ . -repeat,-restart,exit 3/3 0| tmrCursor");
        addPlay("Exit ends the program at once", "start +1000 exit +5000",
            "reveal == . -start,-restart,exit* 3/2 0 - exit 0");
        const int longest = design::longestStep;
        const QString toLongest = QStringLiteral("length:%1 start reveal type:*");
        const QString longer = QStringLiteral("reveal . . -start,-restart,exit %1/1 0 Timer1").arg(longest);
        addPlay("the step grows to the longest", toLongest.arg(longest - 1), longer);
        addPlay("and no further", toLongest.arg(longest), longer);
        addPlay("a wrong answer at the longest step", QStringLiteral("length:%1 start reveal type:~*").arg(longest),
            QStringLiteral("failed/correction ~%1 =%1 repeat*,restart,exit %2/%2 0 -")
                .arg(QString(longest - 1, u'='))
                .arg(longest));
        // An error ends the handler that raised it and every one that called it, and is reported once.
        addPlay("an error in Start called by Restart", "start reveal type:~* failed:5 restart",
            "failed/correction . = -repeat,-restart,-exit 3/3 0 - exit 1, error: control array element not loaded");
        addPlay("an error in Start called by Enter", "start reveal type:~* failed:5 type:\r",
            "failed/correction ~ = -repeat,-restart,-exit 3/3 0 - exit 1, error: control array element not loaded");
        // The right answer's caption stands from the judgement to the next step's Start.
        addPlay("an error after a right answer's judgement", "start reveal drop:2 type:*",
            "right = . -start,-restart,-exit 3/3 0 - exit 1, error: control array element not loaded");
    }

    void aPlayLeavesTheWindowAsDescribed() { checkPlay(); }
};

QTEST_MAIN(TestSteps)
#include "tst_steps.moc"
