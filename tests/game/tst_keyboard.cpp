// SPDX-License-Identifier: GPL-3.0-or-later
// What real keyboards and desktops send to the game beyond single keys (those, pastes and
// surrogate pairs the random play sends): input methods' commits, held keys, every 16-bit code,
// and keys that arrive while the window is not active. Only A-Z and a-z may be taken as letters.
#include "GameFixture.h"

#include <QTest>

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void keysLeaveTheWindowAsDescribed_data()
    {
        addPlayColumns();
        // The window takes no composition: a commit sent anyway types nothing, not even ASCII letters.
        addPlay("an input method's commit", "start reveal ime:记忆ABC",
            "answer ___ . -start,-restart,exit 3/3 0| tmrCursor");
        // Catches a second step started by a key that is still down once the first has begun.
        const QString repeating = QStringLiteral("reveal = . -repeat,-restart,exit 3/1 0 Timer1");
        addPlay("Enter held after a wrong answer", "start reveal type:==~ hold:\r +500", repeating);
        addPlay("Space held after a wrong answer", "start reveal type:==~ hold:space +500", repeating);
        // Keys sent to the window or a button while another window is active take only letters, and
        // the focus comes back to where it was.
        const QString away = QStringLiteral("start reveal away key:7ı key:=ſ exit-key:ß");
        addPlay("keys while another window is active", away, "answer =__ . -start,-restart,exit 3/3 1| tmrCursor");
        addPlay("then back", away + " back type:*", "reveal . . -start,-restart,exit 4/1 0 Timer1");
        // Tab and Backtab go round the buttons in their order.
        addPlay("Tab", "type:\t", "opening . . start,restart*,exit 3/0 0 -");
        addPlay("Tab twice", "type:\t\t", "opening . . start,restart,exit* 3/0 0 -");
        addPlay("Tab three times", "type:\t\t\t", "opening . . start*,restart,exit 3/0 0 -");
        addPlay("Backtab", "backtab", "opening . . start,restart,exit* 3/0 0 -");
        addPlay("Backtab twice", "backtab backtab", "opening . . start,restart*,exit 3/0 0 -");
        addPlay("Backtab three times", "backtab backtab backtab", "opening . . start*,restart,exit 3/0 0 -");
    }

    void keysLeaveTheWindowAsDescribed() { checkPlay(); }

    // Every 16-bit code as a key's text while answering: exactly the 52 ASCII letters are taken, as
    // capitals. Catches case rules that turn dotless i, long s or the Kelvin sign into letters.
    void onlyAsciiLettersAreTakenAmongAllCodes()
    {
        GameFixture game;
        game.play(QStringLiteral("start reveal"));
        QString taken;
        for (int code = 0; code <= 0xFFFF; ++code) {
            game.pressKey(Qt::Key_unknown, QString(QChar(char16_t(code))));
            if (game.form().inputPos == 1) {
                taken += game.form().typedLetters(0);
                game.pressKey(Qt::Key_Backspace, QStringLiteral("\b"));
            }
        }
        QString alphabet;
        for (char16_t letter = design::firstLetter; letter <= design::lastLetter; ++letter)
            alphabet += QChar(letter);
        QCOMPARE(taken, alphabet + alphabet);
        QVERIFY(game.errors().isEmpty());
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
