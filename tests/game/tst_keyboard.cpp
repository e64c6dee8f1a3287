// SPDX-License-Identifier: GPL-3.0-or-later
// What real keyboards and desktops send to the game: pastes and input methods' commits, surrogate
// pairs, held keys, every 16-bit code, and keys that arrive while the window is not active.
// Only A-Z and a-z may ever be taken as letters.
#include "GameFixture.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QTest>

using rt::Int16;

namespace {

// Starts a step and lets it run to answer entry; returns the letters shown.
QString startAnswering(GameFixture& game)
{
    game.click(game.form().cmdStart);
    return game.presentStep();
}

void send(QWidget* target, QEvent::Type type, Qt::Key key, const QString& text, bool autoRepeat)
{
    QKeyEvent event(type, key, Qt::NoModifier, text, autoRepeat);
    QApplication::sendEvent(target, &event);
}

// A key held down: the first press, repeats as the desktop sends them, then the release.
void holdKey(GameFixture& game, Qt::Key key, const QString& text, int repeats)
{
    send(game.focusedWidget(), QEvent::KeyPress, key, text, false);
    for (int i = 0; i < repeats; ++i) {
        send(game.focusedWidget(), QEvent::KeyRelease, key, text, true);
        send(game.focusedWidget(), QEvent::KeyPress, key, text, true);
    }
    send(game.focusedWidget(), QEvent::KeyRelease, key, text, false);
}

bool isAsciiLetter(int code)
{
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    // Catches a letter lost or a non-letter taken when one event carries several characters.
    void aPasteTypesItsLettersInOrder()
    {
        GameFixture game;
        frmMain& form = game.form();
        const QString shown = startAnswering(game);
        game.pressKey(Qt::Key_unknown, QStringLiteral("1") + shown[0].toLower() + QStringLiteral("é中 ") + shown[1]);
        QCOMPARE(form.inputPos, Int16(2));
        QCOMPARE(game.displayRow(), shown.left(2) + QStringLiteral("_"));
        QCOMPARE(form.linCursor.x1(), 162.0f);
        game.pressKey(Qt::Key_unknown, QStringLiteral("\b\b"));
        QCOMPARE(game.displayRow(), QStringLiteral("___"));
        QVERIFY(game.errors().isEmpty());
    }

    // The letters after the last one of the answer fall into the next step's presentation,
    // where no key counts: they must neither be typed nor judged again.
    void aPasteLongerThanTheAnswerStopsAtTheJudgement()
    {
        GameFixture game;
        frmMain& form = game.form();
        const QString shown = startAnswering(game);
        game.pressKey(Qt::Key_unknown, shown + QStringLiteral("qwerty"));
        QCOMPARE(form.letterCount, Int16(4));
        QVERIFY(form.Timer1.isEnabled());
        QCOMPARE(form.inputPos, Int16(0));
        QCOMPARE(game.presentStep().size(), 4);
        QCOMPARE(game.displayRow(), QStringLiteral("____"));
        QVERIFY(game.errors().isEmpty());
    }

    // The window takes no composition; a commit sent anyway, or as a key's text, types nothing.
    void anInputMethodsCommitTypesNoLetter()
    {
        GameFixture game;
        frmMain& form = game.form();
        startAnswering(game);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("记忆"));
        QApplication::sendEvent(game.focusedWidget(), &commit);
        game.pressKey(Qt::Key_unknown, QStringLiteral("记忆ＡＢＣ"));
        QCOMPARE(form.inputPos, Int16(0));
        QCOMPARE(game.displayRow(), QStringLiteral("___"));
        QVERIFY(game.errors().isEmpty());
    }

    // A character outside the 16-bit range comes as two surrogate halves: neither is a letter,
    // not even the halves of a mathematical capital A, and neither crashes the conversion.
    void surrogatePairsAndLoneHalvesAreNoLetters()
    {
        GameFixture game;
        frmMain& form = game.form();
        startAnswering(game);
        for (const char32_t character : {U'\U0001D400', U'\U0001F600', U'\U0010FFFF'})
            game.pressKey(Qt::Key_unknown, QString::fromUcs4(&character, 1));
        game.pressKey(Qt::Key_unknown, QString(QChar(0xD835)));
        game.pressKey(Qt::Key_unknown, QString(QChar(0xDC00)));
        QCOMPARE(form.inputPos, Int16(0));
        QCOMPARE(game.displayRow(), QStringLiteral("___"));
        QVERIFY(game.errors().isEmpty());
    }

    // Every 16-bit code, as a key's text while answering: exactly the 52 ASCII letters are
    // taken, as capitals. Catches case rules that turn dotless i, long s or the Kelvin sign
    // into letters.
    void onlyAsciiLettersAreTakenAmongAllCodes()
    {
        GameFixture game;
        frmMain& form = game.form();
        startAnswering(game);
        int taken = 0;
        for (int code = 0; code <= 0xFFFF; ++code) {
            game.pressKey(Qt::Key_unknown, QString(QChar(char16_t(code))));
            const bool typed = form.inputPos == 1;
            QVERIFY2(typed == isAsciiLetter(code), qPrintable(QString::number(code, 16)));
            if (typed) {
                QCOMPARE(form.typedLetters(0), QString(QChar(char16_t(code))).toUpper());
                ++taken;
                game.pressKey(Qt::Key_Backspace, QStringLiteral("\b"));
            }
        }
        QCOMPARE(taken, 52);
        QVERIFY(game.errors().isEmpty());
    }

    // A held letter types once per repeat, up to the judgement and no further.
    void aHeldLetterTypesOnEveryRepeat()
    {
        GameFixture game;
        frmMain& form = game.form();
        const QString shown = startAnswering(game);
        holdKey(game, Qt::Key_Z, QStringLiteral("z"), 1);
        QCOMPARE(form.inputPos, Int16(2));
        holdKey(game, Qt::Key_Z, QStringLiteral("z"), 5);
        QCOMPARE(form.failedUpper == 2, shown != QStringLiteral("ZZZ"));
        QCOMPARE(form.inputPos, Int16(0));
        QVERIFY(game.errors().isEmpty());
    }

    // Catches a second step started by a key that is still down once the first has begun.
    void aHeldEnterOrSpaceRepeatsTheStepOnce()
    {
        for (const auto& [key, text] :
            {std::pair(Qt::Key_Return, QStringLiteral("\r")), std::pair(Qt::Key_Space, QStringLiteral(" "))}) {
            GameFixture game;
            frmMain& form = game.form();
            const QString shown = startAnswering(game);
            game.type(shown.left(2) + (shown[2] == u'A' ? QStringLiteral("B") : QStringLiteral("A")));
            QVERIFY(form.cmdStart.hasFocus());
            holdKey(game, key, text, 8);
            QVERIFY(form.Timer1.isEnabled());
            game.advance(std::chrono::milliseconds(500));
            QCOMPARE(form.revealIndex, Int16(1)); // one step begun, half a second ago
            QVERIFY(!form.lblLetterWrong.isLoaded(1));
            QVERIFY(game.errors().isEmpty());
        }
    }

    // Another window is active: keys sent to ours anyway, to the window or to a button, take only
    // letters, and the focus comes back to where it was.
    void keysWhileAnotherWindowIsActive()
    {
        GameFixture game;
        frmMain& form = game.form();
        const QString shown = startAnswering(game);
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(!form.isActiveWindow());
        game.pressKey(Qt::Key_unknown, QStringLiteral("7ı"));
        send(&form, QEvent::KeyPress, Qt::Key_unknown, shown.left(1) + QStringLiteral("ſ"), false);
        send(form.cmdExit.widget(), QEvent::KeyPress, Qt::Key_unknown, QStringLiteral("ß"), false);
        QCOMPARE(form.inputPos, Int16(1));
        QCOMPARE(game.displayRow(), shown.left(1) + QStringLiteral("__"));
        QCOMPARE(game.exitCode(), -1);
        QApplication::setActiveWindow(&form);
        QVERIFY(form.isActiveWindow());
        QVERIFY(!form.cmdExit.hasFocus());
        game.type(shown.mid(1));
        QCOMPARE(form.letterCount, Int16(4));
        QVERIFY(game.errors().isEmpty());
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
