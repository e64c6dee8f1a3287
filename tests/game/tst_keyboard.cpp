// SPDX-License-Identifier: GPL-3.0-or-later
// What real keyboards and desktops send to the game beyond single keys (those, pastes and
// surrogate pairs the random play sends): input methods' commits, held keys, every 16-bit code,
// and keys that arrive while the window is not active. Only A-Z and a-z may be taken as letters.
#include "GameFixture.h"

#include <tests/shared/Keyboard.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QTest>

using rt::Int16;

namespace {

// A key held down: the first press, repeats as the desktop sends them, then the release.
void holdKey(GameFixture& game, Qt::Key key, const QString& text, int repeats)
{
    keys::send(game.focusedWidget(), QEvent::KeyPress, key, text, false);
    for (int i = 0; i < repeats; ++i) {
        keys::send(game.focusedWidget(), QEvent::KeyRelease, key, text, true);
        keys::send(game.focusedWidget(), QEvent::KeyPress, key, text, true);
    }
    keys::send(game.focusedWidget(), QEvent::KeyRelease, key, text, false);
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    // The window takes no composition: a commit sent anyway types nothing, not even ASCII letters.
    void anInputMethodsCommitTypesNoLetter()
    {
        GameFixture game;
        frmMain& form = game.form();
        game.startAnswering();
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("记忆ABC"));
        QApplication::sendEvent(game.focusedWidget(), &commit);
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
        game.startAnswering();
        int taken = 0;
        for (int code = 0; code <= 0xFFFF; ++code) {
            game.pressKey(Qt::Key_unknown, QString(QChar(char16_t(code))));
            const bool typed = form.inputPos == 1;
            QVERIFY2(typed == design::isLetter(char16_t(code)), qPrintable(QString::number(code, 16)));
            if (typed) {
                QCOMPARE(form.typedLetters(0), QString(QChar(char16_t(code))).toUpper());
                ++taken;
                game.pressKey(Qt::Key_Backspace, QStringLiteral("\b"));
            }
        }
        QCOMPARE(taken, 52);
        QVERIFY(game.errors().isEmpty());
    }

    // Catches a second step started by a key that is still down once the first has begun.
    void aHeldEnterOrSpaceRepeatsTheStepOnce()
    {
        for (const auto& [key, text] :
            {std::pair(Qt::Key_Return, QStringLiteral("\r")), std::pair(Qt::Key_Space, QStringLiteral(" "))}) {
            GameFixture game;
            frmMain& form = game.form();
            const QString shown = game.startAnswering();
            game.type(shown.left(2) + design::otherLetter(shown[2]));
            QVERIFY(form.cmdStart.hasFocus());
            holdKey(game, key, text, 8);
            QVERIFY(form.Timer1.isEnabled());
            game.advance(design::tickInterval);
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
        const QString shown = game.startAnswering();
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(!form.isActiveWindow());
        game.pressKey(Qt::Key_unknown, QStringLiteral("7ı"));
        keys::send(&form, QEvent::KeyPress, Qt::Key_unknown, shown.left(1) + QStringLiteral("ſ"));
        keys::send(form.cmdExit.widget(), QEvent::KeyPress, Qt::Key_unknown, QStringLiteral("ß"));
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
