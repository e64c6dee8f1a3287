// SPDX-License-Identifier: GPL-3.0-or-later
// The built program as a user meets it: in an X server with a window manager, driven by key
// presses and clicks, judged by the window's properties and its pixels.
#include "LetterReader.h"
#include "WindowPicture.h"
#include "XSession.h"

#include <tests/shared/Letters.h>
#include <tests/shared/Pixels.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <functional>
#include <optional>

using namespace design;
using pixels::Expect;

namespace {

// How long a tick's change may take to show in the screenshots polled on a busy machine.
constexpr qint64 tickMax = 1000;

constexpr qint64 tick = tickInterval.count();
// How much sooner than due a repaint may reach the X server: the grid is counted from Start's
// repaint, which may itself be drawn a while after the timers started.
constexpr qint64 earlyTolerance = 50;
// How much later than due a repaint may come on a busy machine.
constexpr qint64 lateTolerance = 200;
const QRect caretArea(19, 107, 6, 36);

// Whether the k-th repaint after Start's is the one due then: a reveal, the hide (which blanks
// the letters where their glyphs were, and shows the caret), then blinks.
bool isDue(const QRect& area, int k, int letters)
{
    const QRect lastLetter = letterLabel(displayRowTop, std::min(k, letters) - 1);
    if (k <= letters)
        return lastLetter.adjusted(0, 0, 2, 2).contains(area) && area.contains(lastLetter);
    return k == letters + 1 ? area.intersects(lastLetter) && area.contains(caretArea) : caretArea.contains(area);
}

// Judges a step's timing by the repaints the X server saw: each reveal, the hide and `blinks`
// caret blinks a tick after the one before, counted from Start's repaint.
QString cadenceProblem(const QList<Damage>& damage, int letters, int blinks)
{
    // The window's repaints: rectangles drawn less than 100 ms apart count as one, done when its last is.
    QList<Damage> repaints;
    for (const Damage& drawn : damage) {
        if (!repaints.isEmpty() && drawn.serverMs - repaints.back().serverMs < 100)
            repaints.back() = {drawn.serverMs, repaints.back().area | drawn.area};
        else
            repaints.append(drawn);
    }
    const qsizetype start = std::ranges::find_if(repaints, [&](const Damage& r) { return isDue(r.area, 1, letters); })
        - repaints.begin() - 1;
    QList<qint64> at;
    QString seen;
    for (const Damage& repaint : repaints) {
        at << qint64(repaint.serverMs) - repaints[std::max<qsizetype>(start, 0)].serverMs;
        seen += QStringLiteral("\n  %1 ms: ").arg(at.back()) + QDebug::toString(repaint.area);
    }
    if (start < 0)
        return QStringLiteral("no repaint of Start's before the first reveal:") + seen;
    for (int k = 1; k < letters + blinks + 2; ++k) {
        const auto fail = [&](const char* what) { return QStringLiteral("repaint %1 %2:").arg(k).arg(what) + seen; };
        if (start + k >= repaints.size())
            return fail("is missing");
        if (!isDue(repaints[start + k].area, k, letters))
            return fail(k <= letters ? "is not the reveal" : k == letters + 1 ? "is not the hide" : "is not a blink");
        // A repaint may fall back onto the grid after a late one, which may have been late in the
        // drawing alone; otherwise none comes sooner than 499 ms after the one before.
        const qint64 onGrid = tick * k, afterLast = at[start + k - 1] + tick;
        if (at[start + k] < std::min(onGrid, afterLast - 1) - earlyTolerance
            || at[start + k] > std::max(onGrid, afterLast) + lateTolerance)
            return fail(at[start + k] < onGrid ? "comes early" : "comes late");
    }
    return {};
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

private:
    struct Presentation {
        QString letters, failure;
    };

    WindowPicture shot() { return {session_.grab(window_), reader_}; }
    void save(const WindowPicture& picture, const QString& name)
    {
        picture.image().save(QStringLiteral(SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
    }
    void click(const QRect& button) { session_.click(client_.topLeft() + button.center()); }

    // The first picture of the window that meets the condition within the time.
    std::optional<WindowPicture> waitForScreen(
        const std::function<bool(const WindowPicture&)>& condition, int timeoutMs)
    {
        std::optional<WindowPicture> picture;
        if (QTest::qWaitFor([&] { return !(picture = shot())->isNull() && condition(*picture); }, timeoutMs))
            return picture;
        return std::nullopt;
    }

    Presentation watchStep(
        int letterCount, const QString& shotName, const std::function<void(int cellsShown)>& onCellShown = {});

    // Starts the program, ending the one running; waits for its window, centred and painted, and
    // unless `focusedAtOnce` is false, active.
    void launch(const QStringList& arguments = {}, bool focusedAtOnce = true)
    {
        cleanup();
        program_.setProcessEnvironment(session_.clientEnvironment());
        program_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Xvfb now and then refuses a client that connects while another does; the program then ends
        // at once, and starting it again is what a user would do.
        for (int attempt = 0; attempt < 3 && !window_ && program_.state() == QProcess::NotRunning; ++attempt) {
            program_.start(QStringLiteral(KORIMO_PROGRAM), arguments);
            QVERIFY2(program_.waitForStarted(), qPrintable(program_.errorString()));
            const auto settled = [&] {
                window_ = session_.managedWindowOf(program_.processId());
                return window_ != 0 || program_.state() == QProcess::NotRunning;
            };
            if (!QTest::qWaitFor(settled, 10000))
                break; // running, but no window: starting again would not help
        }
        QVERIFY2(window_ != 0, "the program's window did not appear");
        if (focusedAtOnce)
            QVERIFY2(QTest::qWaitFor([&] { return session_.activeWindow() == window_; }, 5000),
                "the window did not get the input focus");
        // Centred as a user sees it: the frame, title bar included.
        const QRect screen(QPoint(0, 0), session_.screenSize());
        QRect frame;
        const bool centred = QTest::qWaitFor(
            [&] {
                client_ = session_.geometry(window_);
                frame = session_.frameGeometry(window_);
                return !frame.isEmpty() && (frame.center() - screen.center()).manhattanLength() <= 2;
            },
            5000);
        QVERIFY2(centred,
            qPrintable(QDebug::toString(frame) + QStringLiteral(" on a screen of ") + QDebug::toString(screen)));
        QVERIFY2(
            waitForScreen([](const WindowPicture& p) { return p.image().pixelColor(300, 200) == background; }, 5000),
            "the window was not painted");
    }

    XSession session_;
    LetterReader reader_;
    QProcess program_;
    xcb_window_t window_ = 0;
    QRect client_;

private slots:
    void initTestCase()
    {
        QCOMPARE(session_.start(), QString());
        QVERIFY(QDir().mkpath(QStringLiteral(SCREENSHOT_DIR)));
        XSession::endWithTest(program_);
    }

    void init() { launch(); }

    void cleanup()
    {
        program_.kill(); // does nothing once it has ended
        program_.waitForFinished(5000);
        window_ = 0;
    }

    void aMovedWindowStaysWhereThePlayerPutIt_data()
    {
        QTest::addColumn<bool>("focusedAtOnce");
        QTest::newRow("focused as it opens") << true;
        QTest::newRow("focused only when clicked") << false;
    }

    // Catches a window put back in the centre when it first gets the focus, which some desktops
    // give only once the player has moved or clicked it.
    void aMovedWindowStaysWhereThePlayerPutIt()
    {
        QFETCH(bool, focusedAtOnce);
        if (!focusedAtOnce) {
            session_.setFocusNewWindows(false);
            launch({}, false);
            session_.setFocusNewWindows(true);
            QVERIFY(!QTest::currentTestFailed() && session_.activeWindow() != window_);
        }
        const QPoint placed(40, 40);
        session_.move(window_, placed);
        QVERIFY2(QTest::qWaitFor([&] { return session_.geometry(window_).topLeft() == placed; }, 5000),
            "the window manager did not move the window");
        session_.click(placed + QPoint(300, 200));
        QVERIFY2(QTest::qWaitFor([&] { return session_.activeWindow() == window_; }, 5000), "a click did not focus it");
        QTest::qWait(1000);
        QCOMPARE(session_.geometry(window_).topLeft(), placed);
    }

    void windowIsTitledFixedWithCloseBoxAndIcon()
    {
        QCOMPARE(QString::fromUtf8(session_.property(window_, "_NET_WM_NAME")), windowCaption);
        // A taskbar matches the window to the desktop entry, and so to its name and icon, by the
        // window class: WM_CLASS is the instance and the class, each ended by a zero byte.
        QFile entry(QStringLiteral(KORIMO_DESKTOP_ENTRY));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QByteArray wmClass = QRegularExpression(QStringLiteral("\\nStartupWMClass=(.*)\\n"))
                                       .match(QString::fromUtf8(entry.readAll()))
                                       .captured(1)
                                       .toUtf8();
        QCOMPARE(session_.property(window_, "WM_CLASS"), wmClass + '\0' + wmClass + '\0');
        QCOMPARE(client_.size(), clientSize);

        // WM_NORMAL_HINTS: flags (16: minimum size set, 32: maximum size set), x, y, width, height,
        // minimum width and height, maximum width and height, ...
        const QList<quint32> sizeHints = session_.cardinals(window_, "WM_NORMAL_HINTS");
        QVERIFY(sizeHints.size() >= 9 && (sizeHints[0] & 16) && (sizeHints[0] & 32));
        QCOMPARE(QSize(sizeHints[5], sizeHints[6]), clientSize);
        QCOMPARE(QSize(sizeHints[7], sizeHints[8]), clientSize);

        // _MOTIF_WM_HINTS: flags (1: functions set, 2: decorations set), functions, decorations. With
        // bit 0 ("all") set a mask lists what is left out instead of what is offered.
        const QList<quint32> motif = session_.cardinals(window_, "_MOTIF_WM_HINTS");
        QVERIFY(motif.size() >= 3 && (motif[0] & 1) && (motif[0] & 2));
        const auto offers = [&](int field, quint32 bit) { return bool(motif[field] & 1) != bool(motif[field] & bit); };
        // Functions: close (32) but not minimise (8) or maximise (16); decorations: a title (8) but no
        // minimise (32) or maximise (64) button.
        QVERIFY(offers(1, 32) && !offers(1, 8) && !offers(1, 16));
        QVERIFY(offers(2, 8) && !offers(2, 32) && !offers(2, 64));

        // The window manager, for its part, lets the user close the window but not resize or maximise it.
        const QStringList actions = session_.atomNames(window_, "_NET_WM_ALLOWED_ACTIONS");
        const QByteArray allowed = actions.join(u' ').toLatin1();
        QVERIFY2(actions.contains(QStringLiteral("_NET_WM_ACTION_CLOSE")), allowed);
        for (const char* refused : {"RESIZE", "MAXIMIZE_HORZ", "MAXIMIZE_VERT"})
            QVERIFY2(!actions.contains(QStringLiteral("_NET_WM_ACTION_") + QLatin1String(refused)), allowed);

        // _NET_WM_ICON: width, height, then width × height ARGB pixels, for each size offered.
        const QList<quint32> icons = session_.cardinals(window_, "_NET_WM_ICON");
        bool has32 = false;
        for (qsizetype at = 0; at + 2 <= icons.size(); at += 2 + qsizetype(icons[at]) * icons[at + 1]) {
            const auto opaque = [](quint32 argb) { return qAlpha(argb) == 255; };
            if (icons[at] == 32 && icons[at + 1] == 32 && at + 2 + 32 * 32 <= icons.size())
                has32 = std::ranges::count_if(icons.mid(at + 2, 32 * 32), opaque) > 100;
        }
        QVERIFY2(has32, "no 32 × 32 icon with visible pixels");
    }

    void openingLookMatchesTheLayoutWithStartFocused_data()
    {
        QTest::addColumn<QString>("style");
        QTest::newRow("the program's own style") << QString();
        QTest::newRow("-style Windows") << QStringLiteral("Windows");
    }

    void openingLookMatchesTheLayoutWithStartFocused()
    {
        QFETCH(QString, style);
        if (!style.isEmpty())
            launch({QStringLiteral("-style"), style});
        // The focus is on Start; Fusion outlines it as soon as the window is active.
        QVERIFY2(waitForScreen(
                     [&](const WindowPicture& p) { return p.hasFocusFrame(startButton) == style.isEmpty(); }, 2000),
            "Start does not show the focus as Fusion does, or the style from the command line is not taken");
        const WindowPicture picture = shot();
        save(picture, QStringLiteral("01-opening") + (style.isEmpty() ? QString() : QStringLiteral("-") + style));
        const QImage& image = picture.image();

        // The separator, with the background on its ends and below; above it, up to the instruction,
        // there is nothing: no cell, no caret, no caption. No letter shows anywhere. Fusion rounds a
        // button's corners; the Windows style draws them square, in its white bevel.
        QList<pixels::Probe> probes{{separator, black, Expect::All}, {15, 304, background}, {680, 304, background},
            {separator.translated(0, 1), background, Expect::All}, {QRect(0, 91, 692, 213), background, Expect::All},
            {image.rect(), magenta, Expect::None}, {image.rect(), red, Expect::None},
            {exitButton.left(), exitButton.top(), style.isEmpty() ? background : white}};
        // Each button fills its rectangle: its edges differ from the background, the pixels just outside do not.
        for (const QRect& b : {startButton, restartButton, exitButton}) {
            const QPoint c = b.center();
            probes.append({{b.left(), c.y(), background, false}, {b.right(), c.y(), background, false},
                {c.x(), b.top(), background, false}, {c.x(), b.bottom(), background, false},
                {b.left() - 1, c.y(), background}, {b.right() + 1, c.y(), background}, {c.x(), b.top() - 1, background},
                {c.x(), b.bottom() + 1, background}});
        }
        QCOMPARE(pixels::failedProbe(image, probes), QString());

        // The title's teal and the instruction's dark blue show, each only in its place.
        for (const auto& [area, colour] : {std::pair{titleBand, teal}, {instruction, darkBlue}}) {
            const int inside = picture.count(area, colour);
            QVERIFY2(inside > 0 && inside == picture.count(image.rect(), colour),
                qPrintable(colour.name() + QStringLiteral(" is missing or out of its place")));
        }
        QVERIFY(!picture.hasFocusFrame(restartButton) && !picture.hasFocusFrame(exitButton));
    }

    void enterOnStartPresentsLettersThenABlinkingCaret()
    {
        session_.watchDamage(window_);
        session_.pressKeys({QStringLiteral("Return")});
        const Presentation step = watchStep(3, QStringLiteral("02-step"));
        QVERIFY2(step.failure.isEmpty(), qPrintable(step.failure));

        // The caret blinks; the boxes stay empty.
        const auto hidden = waitForScreen([](const WindowPicture& p) { return !p.caretAnywhere(); }, tickMax);
        QVERIFY2(hidden, "the caret does not blink");
        save(*hidden, QStringLiteral("02-step-caret-hidden"));
        QCOMPARE(hidden->row(displayRowTop).letters, QStringLiteral("   "));
        const auto back = waitForScreen([](const WindowPicture& p) { return p.caretAt(0); }, tickMax);
        QVERIFY2(back, "the caret does not come back");
        QCOMPARE(back->row(displayRowTop).letters, QStringLiteral("   "));
        QCOMPARE(cadenceProblem(session_.takeDamage(), 3, 2), QString());
    }

    void wrongAnswerShowsTheCorrection_data()
    {
        QTest::addColumn<bool>("restart");
        QTest::addColumn<int>("nextLetters");
        QTest::newRow("Enter repeats the length") << false << 4;
        QTest::newRow("Restart goes back to three letters") << true << 3;
    }

    // A lower-case right answer to three letters leads to four, answered wrongly.
    void wrongAnswerShowsTheCorrection()
    {
        QFETCH(bool, restart);
        QFETCH(int, nextLetters);
        const QString shots = restart ? QStringLiteral("05") : QStringLiteral("04");
        session_.pressKeys({QStringLiteral("Return")});
        const Presentation three = watchStep(3, shots + QStringLiteral("-three"));
        QVERIFY2(three.failure.isEmpty(), qPrintable(three.failure));
        session_.type(three.letters.toLower());
        const Presentation four = watchStep(4, shots + QStringLiteral("-four"));
        QVERIFY2(four.failure.isEmpty(), qPrintable(four.failure));
        const QString typed = letters::wrongAnswerFor(four.letters);
        session_.type(typed.toLower());
        const auto failed = waitForScreen(
            [](const WindowPicture& p) { return p.row(correctionRowTop).letters.trimmed().size() == 4; }, tickMax);
        QVERIFY2(failed, "no correction row after a wrong answer");
        save(*failed, shots + QStringLiteral("-failed"));

        QCOMPARE(failed->row(correctionRowTop).letters, four.letters);
        QCOMPARE(failed->row(displayRowTop).letters, typed);
        for (int cell = 0; cell < 4; ++cell) {
            QCOMPARE(failed->cellLookProblem(correctionRowTop, cell, red)
                    + failed->cellLookProblem(displayRowTop, cell, magenta),
                QString());
        }
        QVERIFY2(failed->count(correctionLabel, darkBlue) > 0, "no caption above the correction row");
        QVERIFY(!failed->caretAnywhere() && failed->hasFocusFrame(startButton) && !failed->hasFocusFrame(exitButton));

        if (restart)
            click(restartButton);
        else
            session_.pressKeys({QStringLiteral("Return")});
        const Presentation next = watchStep(nextLetters, shots + QStringLiteral("-next"));
        QVERIFY2(next.failure.isEmpty(), qPrintable(next.failure));
    }

    void spaceEnterAndAltLetterDuringAStepDoNothing()
    {
        // Alt with a letter is a command, not a letter.
        const QStringList keys{QStringLiteral("space"), QStringLiteral("Return"), QStringLiteral("space"),
            QStringLiteral("Return"), QStringLiteral("alt+q")};
        session_.pressKeys({QStringLiteral("Return")});
        const Presentation step = watchStep(3, QStringLiteral("06-keys-ignored"), [&](int cellsShown) {
            if (cellsShown == 1)
                session_.pressKeys(keys);
        });
        QVERIFY2(step.failure.isEmpty(), qPrintable(step.failure));
        // While the answer is awaited too: the keys neither end the program nor count as letters.
        session_.pressKeys(keys);
        session_.type(step.letters.toLower());
        const Presentation next = watchStep(4, QStringLiteral("06-next"));
        QVERIFY2(next.failure.isEmpty(), qPrintable(next.failure));
        QCOMPARE(program_.state(), QProcess::Running);
    }

    void exitAndTheCloseBoxEndTheProgramWithStatusZero_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Exit") << false;
        QTest::newRow("close box") << true;
    }

    void exitAndTheCloseBoxEndTheProgramWithStatusZero()
    {
        QFETCH(bool, closeBox);
        if (closeBox)
            session_.requestClose(window_);
        else
            click(exitButton);
        QVERIFY2(program_.waitForFinished(5000), "the program did not end");
        QCOMPARE(program_.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program_.exitCode(), 0);
    }

    // A run-time error is reported in a box modal to the window and titled by it, whose close box
    // ends the program with status 1 as its button does.
    void aRunTimeErrorIsReportedInAModalBox()
    {
        cleanup();
        program_.start(QStringLiteral(ERROR_WINDOW_PROGRAM));
        QVERIFY(program_.waitForStarted());
        xcb_window_t box = 0;
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         box = session_.activeWindow();
                         return box && !session_.property(box, "WM_TRANSIENT_FOR").isEmpty();
                     },
                     10000),
            "no box came up");
        const xcb_window_t window = session_.cardinals(box, "WM_TRANSIENT_FOR").value(0);
        QCOMPARE(session_.property(window, "_NET_WM_NAME"), QByteArray("overflow"));
        QCOMPARE(session_.property(box, "_NET_WM_NAME"), QByteArray("overflow"));
        QVERIFY(session_.atomNames(box, "_NET_WM_STATE").contains(QStringLiteral("_NET_WM_STATE_MODAL")));
        session_.requestClose(box);
        QVERIFY2(program_.waitForFinished(5000), "the program did not end");
        QCOMPARE(program_.exitCode(), 1);
    }
};

// Watches a step that has just been started, from the moment its first cell appears until its
// letters are blanked and the caret shows, checking order and looks on the way.
TestEndToEnd::Presentation TestEndToEnd::watchStep(
    int letterCount, const QString& shotName, const std::function<void(int cellsShown)>& onCellShown)
{
    Presentation step;
    QElapsedTimer clock;
    clock.start();
    const auto failure = [&](const QString& what) {
        step.failure = QStringLiteral("step of %1 letters, %2 ms in, %3 cells seen (%4): %5")
                           .arg(QString::number(letterCount), QString::number(clock.elapsed()),
                               QString::number(step.letters.size()), step.letters, what);
        return step;
    };
    // Whatever the step before left on the window goes at once; the first cell comes a tick later.
    const auto empty
        = [](const WindowPicture& p) { return p.row(displayRowTop).cells == 0 && p.row(correctionRowTop).cells == 0; };
    if (!waitForScreen(empty, tickMax))
        return failure(QStringLiteral("the cells of before stay"));
    for (bool blanked = false; !blanked;) {
        if (clock.elapsed() > tick * (letterCount + 1) + 5000)
            return failure(
                step.letters.isEmpty() ? QStringLiteral("no step started") : QStringLiteral("the step stopped"));
        WindowPicture picture = shot();
        if (picture.isNull())
            return failure(program_.waitForFinished(1000)
                    ? QStringLiteral("the program ended, status %1").arg(program_.exitCode())
                    : QStringLiteral("the window is gone"));
        const Row row = picture.row(displayRowTop);
        const int seen = int(step.letters.size());
        if (row.stray || row.cells > letterCount || row.cells < seen || row.cells > seen + 1)
            return failure(
                QStringLiteral("the row now shows %1 cells%2").arg(row.cells).arg(row.stray ? " and a stray one" : ""));
        if (row.cells > seen) {
            // Judge the new cell on a fresh picture, in case this one caught the window half repainted.
            QTest::qSleep(30);
            picture = shot();
            if (const QString problem = picture.cellLookProblem(displayRowTop, seen, magenta); !problem.isEmpty())
                return failure(problem);
            const LetterReader::Reading reading = picture.readCell(displayRowTop, seen);
            if (reading.letter.isNull() || reading.mismatches * 3 > reading.runnerUp)
                return failure(QStringLiteral("cannot read cell %1 (%2 against %3 mismatches)")
                                   .arg(QString::number(seen), QString::number(reading.mismatches),
                                       QString::number(reading.runnerUp)));
            step.letters += reading.letter;
            if (row.cells == letterCount)
                save(picture, shotName + QStringLiteral("-letters"));
            if (onCellShown)
                onCellShown(row.cells);
        } else if (row.cells == letterCount && row.letters.trimmed().isEmpty() && picture.caretAt(0)) {
            blanked = true;
            save(picture, shotName + QStringLiteral("-caret"));
            for (int cell = 0; cell < letterCount; ++cell) {
                if (const QString problem = picture.cellLookProblem(displayRowTop, cell, QColor()); !problem.isEmpty())
                    return failure(problem);
            }
        } else if (picture.caretAnywhere()) {
            return failure(QStringLiteral("a caret before the letters are blanked, or not at the first cell"));
        }
        QTest::qSleep(10);
    }
    return step;
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
