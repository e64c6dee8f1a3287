// SPDX-License-Identifier: GPL-3.0-or-later
// Starting and ending steps: the timed reveal, the hide tick, the caret blink, the judgement of
// a wrong answer and going back to three letters after it.
#include "GameFixture.h"

#include <tests/shared/Pixels.h>

#include <QTest>

using namespace std::chrono_literals;
using design::black;
using design::white;
using rt::Int16;

class TestSteps : public QObject {
    Q_OBJECT

private slots:
    // Start draws the first letter into a hidden cell; cell k appears at 500 * (k + 1) ms, placed
    // by its index; all go blank at 2000 ms, when the answer begins.
    void aThreeLetterStepRevealsOneCellEveryHalfSecond()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.click(form.cmdStart);
        QCOMPARE(form.lblLetter(0).caption(), form.shownLetters(0));
        game.advance(499ms);
        QVERIFY(!form.lblLetter(0).isVisible());
        for (int k = 0; k < 3; ++k) {
            game.advance(k == 0 ? 1ms : 500ms);
            QVERIFY(form.lblLetter(k).isVisible() && form.shpBack(k).isVisible());
            QCOMPARE(form.lblLetter(k).left(), design::cellLeft(k));
            QCOMPARE(form.shpBack(k).left(), design::squareLeft(k));
            QCOMPARE(form.lblLetter(k).caption(), form.shownLetters(k));
        }
        QVERIFY(!form.Timer1.isEnabled() && form.Timer2.isEnabled());
        game.advance(500ms);
        QCOMPARE(game.displayRow(), QStringLiteral("___"));
        QCOMPARE(form.Label1.caption(), design::answerText);
        QVERIFY(!form.Timer2.isEnabled() && form.tmrCursor.isEnabled());
    }

    void theCaretAppearsAtTheFirstCellThenBlinks()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.startAnswering();
        QVERIFY(form.linCursor.isVisible());
        QCOMPARE(form.linCursor.x1(), design::squareLeft(0));
        QCOMPARE(form.linCursor.x2(), design::squareLeft(0));
        QCOMPARE(pixels::failedProbe(game.render(),
                     {{22, 110, black}, {21, 139, black}, {23, 125, white}, {22, 140, white}, {22, 109, white}}),
            QString());
        game.advance(499ms);
        QVERIFY(form.linCursor.isVisible());
        game.advance(1ms);
        QVERIFY(!form.linCursor.isVisible());
        QCOMPARE(game.render().pixelColor(22, 125), white);
        game.advance(design::tickInterval);
        QVERIFY(form.linCursor.isVisible());
        QCOMPARE(form.linCursor.x1(), design::squareLeft(0));
    }

    void exitEndsTheProgramAtOnceInAnyState()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.click(form.cmdStart);
        game.advance(1000ms);
        game.click(form.cmdExit);
        QCOMPARE(game.exitCode(), 0);
        game.advance(5000ms);
        QVERIFY(!form.lblLetter.isLoaded(2));
        QVERIFY(!form.Timer1.isEnabled());
    }

    void aWrongAnswerShowsTheCorrection()
    {
        GameFixture game;
        frmMain& form = game.form();
        const QString shown = game.startAnswering();
        const QString typed = design::otherLetter(shown[0]) + shown.mid(1);
        game.type(typed.toLower());
        QCOMPARE(form.Label3.caption(), design::correctionCaption);
        QVERIFY(form.cmdStart.isEnabled() && form.cmdRestart.isEnabled() && form.cmdStart.hasFocus());
        QCOMPARE(game.correctionRow(), shown);
        QCOMPARE(game.displayRow(), typed);

        const QImage image = game.render();
        QCOMPARE(pixels::failedProbe(image, {{22, 222, white}, {71, 271, black}}), QString());
        QVERIFY(pixels::any(image, QRect(20, 220, 50, 50), design::red));
    }

    void restartAfterAWrongAnswerGoesBackToThreeLetters()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.click(form.cmdStart);
        game.type(game.presentStep()); // four letters next
        const QString shown = game.presentStep();
        game.type(design::otherLetter(shown[0]) + shown.mid(1));
        QCOMPARE(form.failedUpper, Int16(3));
        game.click(form.cmdRestart);
        QCOMPARE(form.letterCount, Int16(3));
        QVERIFY(!form.lblLetterWrong.isLoaded(3) && !form.lblLetter.isLoaded(1));
        QVERIFY(!form.cmdStart.isEnabled());
        QCOMPARE(form.cmdStart.caption(), design::repeatCaption);
        QCOMPARE(game.presentStep().size(), 3);
        QVERIFY(game.errors().isEmpty());
    }
};

QTEST_MAIN(TestSteps)
#include "tst_steps.moc"
