// SPDX-License-Identifier: GPL-3.0-or-later
// Typing the answer back: letters, Backspace, the caret, and the judgement.
#include "GameFixture.h"

#include <QTest>

using namespace std::chrono_literals;
using rt::Int16;

namespace {

// A letter that differs from `letter`.
QString otherThan(QChar letter)
{
    return letter == u'A' ? QStringLiteral("B") : QStringLiteral("A");
}

// Plays into the Failed state at three letters, the last letter wrong.
QString failStep(GameFixture& game)
{
    game.click(game.form().cmdStart);
    const QString shown = game.presentStep();
    game.type(shown.left(2) + otherThan(shown[2]));
    return shown;
}

} // namespace

class TestAnswers : public QObject {
    Q_OBJECT

private slots:
    void lowerCaseLettersAreTypedAsCapitals()
    {
        GameFixture game;
        game.click(game.form().cmdStart);
        const QString shown = game.presentStep();
        game.type(shown.left(2).toLower());
        QCOMPARE(game.form().typedLetters(0), shown.left(1));
        QCOMPARE(game.displayRow(), shown.left(2) + QStringLiteral("_"));
        QCOMPARE(game.form().inputPos, Int16(2));
    }

    // Typing moves the caret from where it stands, in the hidden half of the blink too.
    void theCaretMovesOneCellPerLetter()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.click(form.cmdStart);
        const QString shown = game.presentStep();
        game.type(shown.left(1));
        QCOMPARE(form.linCursor.x1(), 92.0f);
        game.advance(500ms);
        QVERIFY(!form.linCursor.isVisible());
        game.type(shown.mid(1, 1));
        QCOMPARE(form.linCursor.x1(), 162.0f);
        QCOMPARE(form.linCursor.x2(), 162.0f);
        game.advance(500ms);
        QVERIFY(form.linCursor.isVisible());
    }

    void backspaceTakesBackTheLastLetter()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.click(form.cmdStart);
        const QString shown = game.presentStep();
        game.pressKey(Qt::Key_Backspace, QStringLiteral("\b"));
        QCOMPARE(form.inputPos, Int16(0));
        QCOMPARE(form.linCursor.x1(), 22.0f);
        QCOMPARE(game.displayRow(), QStringLiteral("___"));

        game.type(shown.left(2));
        game.pressKey(Qt::Key_Backspace, QStringLiteral("\b"));
        QCOMPARE(form.inputPos, Int16(1));
        QCOMPARE(form.linCursor.x1(), 92.0f);
        QCOMPARE(form.typedLetters(1), QString());
        QCOMPARE(game.displayRow(), shown.left(1) + QStringLiteral("__"));
        game.type(shown.mid(1));
        QCOMPARE(form.letterCount, Int16(4)); // correct after the correction
    }

    void otherCharactersChangeNothing()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.click(form.cmdStart);
        const QString shown = game.presentStep();
        game.type(shown.left(1));
        for (const char* key : {"7", " ", "[", "_", "`", "{", "@", "é", "ı", "ß", "Ａ", "中", "\r", "\x1b"})
            game.pressKey(Qt::Key_unknown, QString::fromUtf8(key));
        game.pressKey(Qt::Key_F1);
        QCOMPARE(form.inputPos, Int16(1));
        QCOMPARE(form.linCursor.x1(), 92.0f);
        QCOMPARE(game.displayRow(), shown.left(1) + QStringLiteral("__"));
        QVERIFY(game.errors().isEmpty());
    }

    void keysDuringThePresentationChangeNothing()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.click(form.cmdStart);
        game.advance(250ms);
        for (int tick = 0; tick < 4; ++tick) {
            game.type(QStringLiteral("abc"));
            game.pressKey(Qt::Key_Backspace, QStringLiteral("\b"));
            game.advance(500ms); // the last reveal comes at 1500 ms, the hide tick at 2000 ms
        }
        QVERIFY(form.tmrCursor.isEnabled());
        QCOMPARE(form.inputPos, Int16(0));
        QCOMPARE(game.displayRow(), QStringLiteral("___"));
    }

    // Catches letters written into an answer that does not exist yet, or a second judgement.
    void keysInReadyAndFailedChangeNothing()
    {
        GameFixture ready;
        ready.type(QStringLiteral("abc"));
        ready.pressKey(Qt::Key_Backspace, QStringLiteral("\b"));
        QVERIFY(ready.errors().isEmpty());
        QCOMPARE(ready.form().inputPos, Int16(0));

        GameFixture failed;
        const QString shown = failStep(failed);
        const QString typed = failed.displayRow();
        failed.type(shown);
        failed.type(QStringLiteral("xyz"));
        failed.pressKey(Qt::Key_Backspace, QStringLiteral("\b"));
        QVERIFY(failed.errors().isEmpty());
        QCOMPARE(failed.displayRow(), typed);
        QCOMPARE(failed.correctionRow(), shown);
        QCOMPARE(failed.form().letterCount, Int16(3));
        QCOMPARE(failed.form().failedUpper, Int16(2));
        failed.pressKey(Qt::Key_Return, QStringLiteral("\r"));
        QVERIFY(failed.errors().isEmpty());
        QVERIFY(!failed.form().lblLetterWrong.isLoaded(1));
    }

    void aCorrectAnswerStartsTheNextStepAtOnce()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.click(form.cmdStart);
        const QString shown = game.presentStep();
        game.type(shown);
        QCOMPARE(form.letterCount, Int16(4));
        QCOMPARE(form.failedUpper, Int16(0));
        QVERIFY(!form.lblLetter.isLoaded(1) && !form.lblLetter.isLoaded(2));
        QVERIFY(!form.shpBack.isLoaded(1) && !form.shpBack.isLoaded(2));
        QVERIFY(!form.lblLetter(0).isVisible() && !form.shpBack(0).isVisible());
        QVERIFY(!form.linCursor.isVisible() && !form.tmrCursor.isEnabled());
        QVERIFY(form.Timer1.isEnabled());
        QCOMPARE(form.Label1.caption(), QStringLiteral("记住下列每个字母"));
        QCOMPARE(form.inputPos, Int16(0));
        QCOMPARE(game.presentStep().size(), 4);
        QVERIFY(!form.lblLetterWrong(0).isVisible());
    }

    void aWrongAnswerShowsTheCorrection()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.click(form.cmdStart);
        const QString shown = game.presentStep();
        const QString typed = otherThan(shown[0]) + shown.mid(1);
        game.type(typed.toLower());
        QCOMPARE(form.Label1.caption(), QStringLiteral("输入错误，多数人能记忆七个字母，回车重新进行当前步测试"));
        QCOMPARE(form.Label3.caption(), QStringLiteral("正确的字母序列应为："));
        QCOMPARE(form.cmdStart.caption(), QStringLiteral("重复本步"));
        QVERIFY(form.cmdStart.isEnabled() && form.cmdRestart.isEnabled() && form.cmdStart.hasFocus());
        QCOMPARE(form.failedUpper, Int16(2));
        QCOMPARE(form.inputPos, Int16(0));
        QVERIFY(!form.linCursor.isVisible() && !form.tmrCursor.isEnabled());
        for (int j = 0; j < 3; ++j) {
            QCOMPARE(form.lblLetterWrong(j).left(), 70.0f * j + 20);
            QCOMPARE(form.lblLetterWrong(j).top(), 220.0f);
            QCOMPARE(form.shpBackWrong(j).left(), 70.0f * j + 22);
            QCOMPARE(form.shpBackWrong(j).top(), 222.0f);
        }
        QCOMPARE(game.correctionRow(), shown);
        QCOMPARE(game.displayRow(), typed);
        QCOMPARE(form.letterCount, Int16(3));

        const QImage image = game.render();
        QCOMPARE(image.pixelColor(22, 222), QColor(255, 255, 255));
        QCOMPARE(image.pixelColor(71, 271), QColor(0, 0, 0));
        bool red = false;
        for (int x = 20; x < 70 && !red; ++x) {
            for (int y = 220; y < 270 && !red; ++y)
                red = image.pixelColor(x, y) == QColor(255, 0, 0);
        }
        QVERIFY(red);
    }

    // Enter reaches the focused Start, which repeats the step with new letters and clears both rows.
    void enterAfterAWrongAnswerRepeatsTheStep()
    {
        GameFixture game;
        frmMain& form = game.form();
        const QString failed = failStep(game);
        game.pressKey(Qt::Key_Return, QStringLiteral("\r"));
        QCOMPARE(form.letterCount, Int16(3));
        QCOMPARE(form.Label3.caption(), QString());
        QCOMPARE(form.Label1.caption(), QStringLiteral("记住下列每个字母"));
        for (int i = 1; i <= 2; ++i) {
            QVERIFY(!form.lblLetter.isLoaded(i) && !form.shpBack.isLoaded(i));
            QVERIFY(!form.lblLetterWrong.isLoaded(i) && !form.shpBackWrong.isLoaded(i));
        }
        QVERIFY(!form.lblLetterWrong(0).isVisible() && !form.shpBackWrong(0).isVisible());
        QCOMPARE(form.failedUpper, Int16(2)); // stale until the next judgement
        QCOMPARE(form.cmdStart.caption(), QStringLiteral("重复本步"));
        const QString again = game.presentStep();
        QCOMPARE(again.size(), 3);
        QVERIFY(again != failed); // one chance in 17,576 that this seed draws the same
        QVERIFY(game.errors().isEmpty());
    }

    void restartAfterAWrongAnswerGoesBackToThreeLetters()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.click(form.cmdStart);
        game.type(game.presentStep()); // four letters next
        const QString shown = game.presentStep();
        game.type(otherThan(shown[0]) + shown.mid(1));
        QCOMPARE(form.failedUpper, Int16(3));
        game.click(form.cmdRestart);
        QCOMPARE(form.letterCount, Int16(3));
        QVERIFY(!form.lblLetterWrong.isLoaded(3) && !form.lblLetter.isLoaded(1));
        QVERIFY(!form.cmdStart.isEnabled());
        QCOMPARE(form.cmdStart.caption(), QStringLiteral("重复本步"));
        QCOMPARE(game.presentStep().size(), 3);
        QVERIFY(game.errors().isEmpty());
    }

    // Catches the overflow of the 469th cell's position: the length stays at 468.
    void theStepLengthStopsGrowingAt468()
    {
        GameFixture game;
        frmMain& form = game.form();
        form.letterCount = 467;
        game.click(form.cmdStart);
        game.type(game.presentStep());
        QCOMPARE(form.letterCount, Int16(468));
        const QString longest = game.presentStep();
        QCOMPARE(form.lblLetter(467).left(), 32710.0f);
        game.type(longest);
        QCOMPARE(form.letterCount, Int16(468));
        QCOMPARE(game.presentStep().size(), 468);
        QVERIFY(game.errors().isEmpty());
        QCOMPARE(game.exitCode(), -1);
    }
};

QTEST_MAIN(TestAnswers)
#include "tst_answers.moc"
