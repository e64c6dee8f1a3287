// SPDX-License-Identifier: GPL-3.0-or-later
// The rules the window must keep after every event: its state line as the model has it, and what
// that line leaves out.
#include "GameModel.h"

#include <tests/game/GameFixture.h>

namespace play {

namespace {

using design::tickInterval;

// The state line's fields, named as the rules they keep.
const char* const fields[] = {"texts", "display row", "correction row", "buttons", "length", "caret", "timers"};

// A row as the state line shows it: `count` cells reading the captions, then blank ones; a single
// hidden cell when `count` is 0.
QString rowOf(const QString& captions, const QString& shown, int count)
{
    QString row = count > 0 ? QString() : QStringLiteral(".");
    for (int i = 0; i < count; ++i)
        row += i < captions.size() ? GameFixture::mark(captions.mid(i, 1), shown, i) : QStringLiteral("_");
    return row;
}

// The window's state line as the model has it; the focus is taken from the window, and its rules
// are checked apart.
QString expectedState(GameFixture& game, const Expected& expected, int shownCells, bool caretShown)
{
    static const char* const instructions[] = {"opening", "reveal", "answer", "failed/correction"};
    const Phase phase = expected.phase;
    const bool presenting = phase == Phase::Presenting;
    const bool resting = phase == Phase::Ready || phase == Phase::Failed;
    const int count = expected.letterCount;
    // Start draws the first letter before the first tick shows it.
    const int drawn = presenting ? std::max(shownCells, 1) : phase == Phase::Ready ? 0 : count;
    const QString shown = game.shownLetters();
    const QString captions[] = {expected.repeatOffered ? "repeat" : "start", "restart", "exit"};
    QStringList buttons;
    for (const Button button : {Button::Start, Button::Restart, Button::Exit}) {
        buttons << (resting || button == Button::Exit ? "" : "-") + captions[static_cast<int>(button)]
                + (buttonOf(button, game.form()).hasFocus() ? "*" : "");
    }
    const char* const timer = presenting ? (shownCells < count ? "Timer1" : "Timer2")
        : phase == Phase::Answering      ? "tmrCursor"
                                         : "-";
    return QStringLiteral("%1 %2 %3 %4 %5/%6 %7%8 %9")
        .arg(instructions[static_cast<int>(phase)],
            rowOf(presenting ? shown : expected.typed, shown, presenting ? shownCells : drawn),
            rowOf(expected.shown, shown, phase == Phase::Failed ? count : 0), buttons.join(u','))
        .arg(count)
        .arg(drawn)
        .arg(phase == Phase::Answering ? expected.typed.size() : 0)
        .arg(caretShown ? "|" : "", timer);
}

// An array's elements in order, none when it has none.
QStringList elements(const rt::StringArray& array)
{
    QStringList list;
    for (int i = 0; array.hasElements() && i <= array.upperBound().value(); ++i)
        list << array(i);
    return list;
}

} // namespace

// Problems start with the name of the rule they break, and end with both state lines.
QString checkGame(GameFixture& game, const Expected& expected)
{
    if (!game.errors().isEmpty())
        return QStringLiteral("error: run-time error '%1'").arg(rt::RuntimeError(game.errors().front()).message());
    frmMain& form = game.form();
    const bool ended = expected.phase == Phase::Ended;
    if (ended || form.isUnloaded()) {
        const bool closed = form.isUnloaded() && game.exitCode() == 0;
        return closed == ended ? QString()
                               : QStringLiteral("exit: window closed %1, expected %2").arg(closed).arg(ended);
    }
    const int count = expected.letterCount;
    const int typed = static_cast<int>(expected.typed.size());
    const auto sinceStart = game.clock().now() - expected.stepStart;
    const int shownCells = std::min(count, static_cast<int>(sinceStart / tickInterval));
    const bool answering = expected.phase == Phase::Answering;
    // From the hide tick on, the caret blinks in step with the ticks.
    const bool caretShown = answering && (sinceStart / tickInterval - count - 1) % 2 == 0;
    const QString state = game.state();
    const QString modelState = expectedState(game, expected, shownCells, caretShown);
    const QStringList got = state.split(u' ');
    const QStringList want = modelState.split(u' ');
    QStringList problems;
    for (int i = 0; i < want.size(); ++i) {
        if (got.value(i) != want.at(i))
            problems << QStringLiteral("%1: '%2' expected, '%3' shown").arg(fields[i], want.at(i), got.value(i));
    }
    // The state line's rows end at the first cell missing: none may be loaded beyond.
    const auto expectLoaded = [&](int field, int labels, int squares) {
        if (labels != want.at(field).size() || squares != want.at(field).size())
            problems << QString::asprintf("%s: %d labels and %d squares loaded, expected %d", fields[field], labels,
                squares, int(want.at(field).size()));
    };
    expectLoaded(1, form.lblLetter.count(), form.shpBack.count());
    expectLoaded(2, form.lblLetterWrong.count(), form.shpBackWrong.count());
    if (form.failedUpper != expected.failedUpper)
        problems << QString::asprintf(
            "length: failedUpper %d, expected %d", form.failedUpper.value(), expected.failedUpper);
    if (expected.phase == Phase::Presenting) {
        const int next = shownCells < count ? shownCells : 0;
        if (form.revealIndex != next)
            problems << QString::asprintf("reveal: revealIndex %d, expected %d", form.revealIndex.value(), next);
        for (const QString& letter : elements(form.shownLetters)) {
            if (letter.size() != 1 || letter.front() < u'A' || letter.front() > u'Z')
                problems << QStringLiteral("reveal: a letter drawn is '%1'").arg(letter);
        }
    }
    if (answering) {
        QStringList answer;
        for (int i = 0; i < count; ++i)
            answer << expected.typed.mid(i, 1);
        if (elements(form.typedLetters) != answer)
            problems << QStringLiteral("answer: typedLetters reads '%1', expected '%2'")
                            .arg(elements(form.typedLetters).join(u','), answer.join(u','));
        // Where the caret stands, shown or not.
        const rt::Line& caret = form.linCursor;
        const auto x = static_cast<float>(design::caretX(typed));
        if (caret.x1() != x || caret.x2() != x || caret.y1() != design::caretTop || caret.y2() != design::caretBottom)
            problems << QString::asprintf("caret: at x %g..%g, expected %g", caret.x1(), caret.x2(), x);
    }
    for (const rt::CommandButton* button : {&form.cmdStart, &form.cmdRestart, &form.cmdExit}) {
        if (button->hasFocus() && !button->isEnabled())
            problems << QStringLiteral("focus: on a disabled button");
    }
    if (form.cmdExit.hasFocus() && !expected.exitMayHaveFocus)
        problems << QStringLiteral("focus: on Exit, where the user did not put it");
    if (expected.justFailed && !form.cmdStart.hasFocus())
        problems << QStringLiteral("focus: not on Start after a wrong answer");
    if (problems.isEmpty())
        return {};
    return problems.join(QStringLiteral("; ")) + QStringLiteral("\nwindow: ") + state + QStringLiteral("\nmodel:  ")
        + modelState;
}

// What the window has painted through the partial repaints its changes asked for is what a full
// repaint draws: a change that misses part of what it covered leaves stale pixels behind.
QString checkPaint(GameFixture& game)
{
    const QImage painted = game.painted();
    const QImage full = game.render();
    if (painted == full)
        return {};
    if (painted.size() != full.size())
        return QStringLiteral("paint: the window has painted nothing");
    QRect stale;
    for (int y = 0; y < full.height(); ++y) {
        for (int x = 0; x < full.width(); ++x) {
            if (painted.pixel(x, y) != full.pixel(x, y))
                stale |= QRect(x, y, 1, 1);
        }
    }
    return QString::asprintf(
        "paint: stale pixels within %d × %d at (%d, %d)", stale.width(), stale.height(), stale.left(), stale.top());
}

} // namespace play
