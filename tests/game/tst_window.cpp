// SPDX-License-Identifier: GPL-3.0-or-later
// The window as it opens: its frame, its controls' places and its pixels.
#include "GameFixture.h"

#include <tests/shared/Pixels.h>

#include <QFontInfo>
#include <QPushButton>
#include <QTest>

using namespace design;

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void windowIsFixedWithACloseBoxOnly()
    {
        GameFixture game;
        frmMain& form = game.form();
        QCOMPARE(form.windowTitle(), QStringLiteral("Korimo"));
        QCOMPARE(form.size(), QSize(692, 361));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(!form.windowIcon().isNull());
        QCOMPARE(form.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
    }

    void buttonsStandWhereDescribedWithStartFocused()
    {
        GameFixture game;
        frmMain& form = game.form();
        QCOMPARE(form.cmdStart.widget()->geometry(), QRect(16, 312, 73, 25));
        QCOMPARE(form.cmdRestart.widget()->geometry(), QRect(520, 320, 81, 25));
        QCOMPARE(form.cmdExit.widget()->geometry(), QRect(608, 320, 73, 25));
        QVERIFY(form.cmdStart.hasFocus());
        for (rt::CommandButton* next : {&form.cmdRestart, &form.cmdExit, &form.cmdStart}) {
            game.pressKey(Qt::Key_Tab, QStringLiteral("\t"));
            QVERIFY(next->hasFocus());
        }
        for (rt::CommandButton* previous : {&form.cmdExit, &form.cmdRestart, &form.cmdStart}) {
            game.pressKey(Qt::Key_Backtab);
            QVERIFY(previous->hasFocus());
        }
        QVERIFY(!form.cmdStart.widget()->isDefault() && !form.cmdStart.widget()->autoDefault());
    }

    void openingStateShowsTheInstructionAndNothingElse()
    {
        GameFixture game;
        frmMain& form = game.form();
        QCOMPARE(form.Label1.caption(), design::openingText);
        QCOMPARE(form.letterCount, rt::Int16(3));
        QCOMPARE(form.inputPos, rt::Int16(0));
        QVERIFY(!form.shownLetters.hasElements() && !form.typedLetters.hasElements());
    }

    void openingPixelsMatchTheLayout()
    {
        GameFixture game;
        frmMain& form = game.form();
        const QImage image = game.render();
        QCOMPARE(image.size(), QSize(692, 361));
        QCOMPARE(pixels::failedProbe(image,
                     {{300, 150, background}, {691, 360, background},
                         // The separator: one pixel high at y 304, from x 16 up to 680.
                         {16, 304, black}, {679, 304, black}, {15, 304, background}, {680, 304, background},
                         {300, 303, background}, {300, 305, background},
                         // Buttons cover their places and nothing around them.
                         {52, 324, background, false}, {15, 324, background}, {52, 338, background},
                         {560, 332, background, false}, {644, 332, background, false}, {604, 332, background}}),
            QString());
        // Only Start, which Enter and Space would click, shows the focus.
        QVERIFY(pixels::hasFocusFrame(image, form.cmdStart.widget()->geometry()));
        QVERIFY(!pixels::hasFocusFrame(image, form.cmdRestart.widget()->geometry()));
        QVERIFY(!pixels::hasFocusFrame(image, form.cmdExit.widget()->geometry()));
        // The teal title in its band, the dark blue instruction in its own.
        QVERIFY(pixels::any(image, QRect(8, 0, 417, 73), teal));
        QVERIFY(!pixels::any(image, QRect(0, 73, 692, 288), teal));
        QVERIFY(pixels::any(image, QRect(8, 72, 673, 19), darkBlue));
        QVERIFY(!pixels::any(image, QRect(0, 92, 692, 210), darkBlue));
        // No cell and no caret anywhere.
        QVERIFY(!pixels::any(image, QRect(0, 92, 692, 210), white));
        QVERIFY(!pixels::any(image, QRect(0, 92, 692, 210), black));
    }

    // The layout relies on the free stand-ins of the faces the window is described in.
    void facesAreDrawnInTheirStandIns()
    {
        const std::pair<rt::FontDescription, const char*> faces[] = {{frmMain::songTi(9), "AR PL UMing CN"},
            {frmMain::timesNewRoman(9), "Liberation Serif"}, {frmMain::palatinoLinotype(9), "P052"}};
        // Where two foundries make a family, Qt names the foundry too: "P052 [UKWN]".
        for (const auto& [face, standIn] : faces)
            QCOMPARE(QFontInfo(rt::makeFont(face)).family().section(QStringLiteral(" ["), 0, 0), QString(standIn));
    }

    // The letter cell: a white box with a 2-pixel black shadow right and below, a magenta letter,
    // which the hide tick takes away.
    void aShownCellIsABoxWithAShadowUntilTheHide()
    {
        GameFixture game;
        game.click(game.form().cmdStart);
        game.advance(design::tickInterval);
        const QImage image = game.render();
        QCOMPARE(pixels::failedProbe(image,
                     {{21, 101, white}, {69, 149, white}, {70, 120, black}, {71, 151, black}, {72, 120, background},
                         {21, 99, background}, {19, 120, background}}),
            QString());
        QVERIFY(pixels::any(image, QRect(20, 100, 50, 50), magenta));
        game.advance(3 * design::tickInterval);
        QVERIFY(!game.form().Timer2.isEnabled());
        QVERIFY(!pixels::any(game.render(), QRect(20, 100, 50, 50), magenta));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
