// SPDX-License-Identifier: GPL-3.0-or-later
// Starting and ending steps: the timed reveal, the hide tick, the caret blink, the judgement of
// a wrong answer and going back to three letters after it.
#include "GameFixture.h"

#include <tests/shared/Keyboard.h>
#include <tests/shared/Pixels.h>

#include <QTest>

using namespace std::chrono_literals;
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
            QCOMPARE(form.lblLetter(k).left(), 70.0f * k + 20);
            QCOMPARE(form.shpBack(k).left(), 70.0f * k + 22);
            QCOMPARE(form.lblLetter(k).caption(), form.shownLetters(k));
        }
        QVERIFY(!form.Timer1.isEnabled() && form.Timer2.isEnabled());
        game.advance(500ms);
        QCOMPARE(game.displayRow(), QStringLiteral("___"));
        QCOMPARE(form.Label1.caption(), QStringLiteral("凭记忆，依次输入刚才显示的字母"));
        QVERIFY(!form.Timer2.isEnabled() && form.tmrCursor.isEnabled());
    }

    void theCaretAppearsAtTheFirstCellThenBlinks()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.startAnswering();
        QVERIFY(form.linCursor.isVisible());
        QCOMPARE(form.linCursor.x1(), 22.0f);
        QCOMPARE(form.linCursor.x2(), 22.0f);
        const QImage shown = game.render();
        QCOMPARE(shown.pixelColor(22, 110), QColor(0, 0, 0));
        QCOMPARE(shown.pixelColor(21, 139), QColor(0, 0, 0));
        QCOMPARE(shown.pixelColor(23, 125), QColor(255, 255, 255));
        QCOMPARE(shown.pixelColor(22, 140), QColor(255, 255, 255));
        QCOMPARE(shown.pixelColor(22, 109), QColor(255, 255, 255));
        game.advance(499ms);
        QVERIFY(form.linCursor.isVisible());
        game.advance(1ms);
        QVERIFY(!form.linCursor.isVisible());
        QCOMPARE(game.render().pixelColor(22, 125), QColor(255, 255, 255));
        game.advance(500ms);
        QVERIFY(form.linCursor.isVisible());
        QCOMPARE(form.linCursor.x1(), 22.0f);
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
        const QString typed = QString(keys::otherLetter(shown[0])) + shown.mid(1);
        game.type(typed.toLower());
        QCOMPARE(form.Label3.caption(), QStringLiteral("正确的字母序列应为："));
        QVERIFY(form.cmdStart.isEnabled() && form.cmdRestart.isEnabled() && form.cmdStart.hasFocus());
        QCOMPARE(game.correctionRow(), shown);
        QCOMPARE(game.displayRow(), typed);

        const QImage image = game.render();
        QCOMPARE(image.pixelColor(22, 222), QColor(255, 255, 255));
        QCOMPARE(image.pixelColor(71, 271), QColor(0, 0, 0));
        QVERIFY(pixels::any(image, QRect(20, 220, 50, 50), QColor(255, 0, 0)));
    }

    void restartAfterAWrongAnswerGoesBackToThreeLetters()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.click(form.cmdStart);
        game.type(game.presentStep()); // four letters next
        const QString shown = game.presentStep();
        game.type(QString(keys::otherLetter(shown[0])) + shown.mid(1));
        QCOMPARE(form.failedUpper, Int16(3));
        game.click(form.cmdRestart);
        QCOMPARE(form.letterCount, Int16(3));
        QVERIFY(!form.lblLetterWrong.isLoaded(3) && !form.lblLetter.isLoaded(1));
        QVERIFY(!form.cmdStart.isEnabled());
        QCOMPARE(form.cmdStart.caption(), QStringLiteral("重复本步"));
        QCOMPARE(game.presentStep().size(), 3);
        QVERIFY(game.errors().isEmpty());
    }
};

QTEST_MAIN(TestSteps)
#include "tst_steps.moc"
