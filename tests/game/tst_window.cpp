// SPDX-License-Identifier: GPL-3.0-or-later
// The window: its frame, its controls' places, the faces it is drawn in, and its pixels state by state.
#include "GameFixture.h"

#include <tests/shared/Pixels.h>

#include <QApplication>
#include <QFontInfo>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

using namespace design;
using pixels::Expect;
using pixels::Probe;

namespace {

// A shown cell: its box in `box` colour with a `letter` coloured letter in its middle, the shadow 2
// pixels wide right of it and below, the background beyond them and in the notch above the shadow.
QList<Probe> cell(int i, int top, const QColor& letter, const QColor& box = white)
{
    const QRect r(cellLeft(i), top, cellSize, cellSize);
    const QRect middle = r.adjusted(7, 0, -7, 0);
    return {{r.left() + 1, r.top() + 1, box}, {r.right(), r.bottom(), box}, {middle, letter},
        {QRect(r.left(), r.top(), 7, cellSize), letter, pixels::Expect::None},
        {QRect(middle.right() + 1, r.top(), 7, cellSize), letter, pixels::Expect::None},
        {r.right() + 1, r.top() + 20, black}, {r.right() + 2, r.bottom() + 2, black},
        {r.right() + 3, r.top() + 20, background}, {r.right() + 1, r.top() + 1, background},
        {r.left() + 1, r.top() - 1, background}, {r.left() - 1, r.top() + 20, background}};
}

// The caret before cell `i`: all of it, and the box beside, above and below it.
QList<Probe> caret(int i)
{
    const int x = caretX(i);
    return {{QRect(x - caretWidth + 1, caretTop, caretWidth, caretBottom - caretTop), black, Expect::All},
        {x - caretWidth, caretTop + 15, white}, {x + 1, caretTop + 15, white}, {x, caretTop - 1, white},
        {x, caretBottom, white}};
}

// A control that covers exactly `r`: not the background at its edges' middles, the background just
// outside them.
QList<Probe> exactly(const QRect& r)
{
    const QPoint c = r.center();
    return {{r.left(), c.y(), background, false}, {r.right(), c.y(), background, false},
        {c.x(), r.top(), background, false}, {c.x(), r.bottom(), background, false}, {r.left() - 1, c.y(), background},
        {r.right() + 1, c.y(), background}, {c.x(), r.top() - 1, background}, {c.x(), r.bottom() + 1, background}};
}

// The window's width from `top` down to `bottom`.
QRect band(int top, int bottom)
{
    return QRect(0, top, clientSize.width(), bottom - top + 1);
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    // The opening window's frame, its controls' places and faces; then the correction's caption
    // after a wrong answer.
    void theWindowIsAsDescribed_data()
    {
        QTest::addColumn<QVariant>("actual");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char* name, const QVariant& actual, const QVariant& expected) {
            QTest::newRow(name) << actual << expected;
        };
        // The stand-ins the layout relies on; Qt names the foundry too where two make a family: "P052 [UKWN]".
        const auto family = [](const rt::FontDescription& face) {
            return QFontInfo(rt::makeFont(face)).family().section(QStringLiteral(" ["), 0, 0);
        };
        GameFixture game;
        frmMain& form = game.form();
        const auto frameButtons
            = Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
        const auto geometry = [](const rt::CommandButton& button) { return QVariant(button.widget()->geometry()); };
        row("caption", form.windowTitle(), windowCaption);
        row("fixed size", QVariantList{form.minimumSize(), form.maximumSize()}, QVariantList{clientSize, clientSize});
        row("a close box only", int(form.windowFlags() & frameButtons), int(Qt::WindowCloseButtonHint));
        row("icon", form.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
        // As a title bar's maximise box or a window manager asks: taken back, the window as it was.
        const QRect placed = form.geometry();
        for (const Qt::WindowState enlarged : {Qt::WindowMaximized, Qt::WindowFullScreen}) {
            form.windowHandle()->setWindowStates(enlarged);
            QCoreApplication::processEvents();
        }
        row("neither maximised nor full screen", QVariantList{int(form.windowState()), form.geometry()},
            QVariantList{int(Qt::WindowNoState), placed});
        row("buttons", QVariantList{geometry(form.cmdStart), geometry(form.cmdRestart), geometry(form.cmdExit)},
            QVariantList{startButton, restartButton, exitButton});
        row("Label1", form.Label1.bounds(), instruction);
        row("Start is the default", form.cmdStart.widget()->isDefault() || form.cmdStart.widget()->autoDefault(),
            false);
        row("faces",
            QStringList{
                family(frmMain::palatinoLinotype(9)), family(frmMain::songTi(9)), family(frmMain::timesNewRoman(9))},
            QStringList{"P052", "AR PL UMing CN", "Liberation Serif"});
        game.play(QStringLiteral("start reveal type:~*"));
        row("Label3", form.Label3.bounds(), correctionLabel);
    }

    void theWindowIsAsDescribed()
    {
        QFETCH(QVariant, actual);
        QFETCH(QVariant, expected);
        QCOMPARE(actual, expected);
    }

    void thePixelsAreAsDescribed_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QColor>("base"); // the desktop scheme's, where not the usual white
        QTest::addColumn<QList<Probe>>("probes");
        QTest::addColumn<QRect>("framed"); // the button that shows the focus
        const QList<Probe> opening
            = QList<Probe>{{300, 150, background}, {691, 360, background}, {titleBand, teal},
                  {band(titleBand.bottom() + 1, clientSize.height()), teal, Expect::None}, {instruction, darkBlue},
                  {band(instruction.bottom() + 1, separator.top() - 1), background, Expect::All}}
            + exactly(separator) + exactly(startButton) + exactly(restartButton) + exactly(exitButton);
        const QRect box(cellLeft(0), displayRowTop, cellSize, cellSize);
        const QColor grey(208, 208, 208);
        // The correction's caption in its line, and nothing else between the rows.
        const QList<Probe> caption = {{correctionLabel, darkBlue},
            {band(displayRowTop + shadowOffset + cellSize, correctionLabel.top() - 1), background, Expect::All},
            {band(correctionLabel.bottom() + 1, correctionRowTop - 1), background, Expect::All}};
        QTest::newRow("the opening") << "" << QColor() << opening << startButton;
        QTest::newRow("a cell shown") << "start +500" << QColor() << cell(0, displayRowTop, magenta) << QRect();
        QTest::newRow("a cell in another scheme")
            << "start +500" << grey << cell(0, displayRowTop, magenta, grey) << QRect();
        QTest::newRow("the hide tick") << "start reveal" << QColor()
                                       << caret(0) + QList<Probe>{{box, magenta, Expect::None}} << QRect();
        QTest::newRow("the caret's blink")
            << "start reveal +500" << QColor() << QList<Probe>{{box, black, Expect::None}} << QRect();
        QTest::newRow("the caret after a letter") << "start reveal type:=" << QColor() << caret(1) << QRect();
        QTest::newRow("a wrong answer") << "start reveal type:~*" << QColor()
                                        << cell(0, correctionRowTop, red) + caption << startButton;
    }

    void thePixelsAreAsDescribed()
    {
        QFETCH(QString, script);
        QFETCH(QColor, base);
        QFETCH(QList<Probe>, probes);
        QFETCH(QRect, framed);
        const QPalette usual = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(usual); });
        if (base.isValid()) {
            QPalette scheme = usual;
            scheme.setColor(QPalette::Base, base);
            QApplication::setPalette(scheme);
        }
        GameFixture game;
        game.play(script);
        const QImage image = game.render();
        QCOMPARE(image.size(), clientSize);
        QCOMPARE(pixels::failedProbe(image, probes), QString());
        for (const QRect& button : {startButton, restartButton, exitButton})
            QCOMPARE(pixels::hasFocusFrame(image, button), button == framed);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
