// SPDX-License-Identifier: GPL-3.0-or-later
// The judgement of a wrong answer, and going back to three letters after it.
#include "GameFixture.h"

#include <tests/runtime/Keyboard.h>
#include <tests/runtime/Pixels.h>

#include <QTest>

using rt::Int16;

class TestAnswers : public QObject {
    Q_OBJECT

private slots:
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

QTEST_MAIN(TestAnswers)
#include "tst_answers.moc"
