// SPDX-License-Identifier: GPL-3.0-or-later
// The rules the window must keep after every event, checked against what the model expects.
#include "GameModel.h"

#include <tests/game/GameFixture.h>

#include <concepts>

namespace play {

namespace {

using design::tickInterval;

// Problems found so far, each starting with the name of its rule. A message with values is put
// together only when its rule is broken.
class Report {
public:
    void expect(bool holds, const char* problem)
    {
        if (!holds)
            problems_.append(QString::fromUtf8(problem));
    }
    template <std::invocable Message> void expect(bool holds, Message message)
    {
        if (!holds)
            problems_.append(message());
    }
    QString text() const { return problems_.join(QStringLiteral("; ")); }

private:
    QStringList problems_;
};

QString nameOf(Phase phase)
{
    static const char* const names[] = {"Ready", "Presenting", "Answering", "Failed", "Ended"};
    return QString::fromLatin1(names[static_cast<int>(phase)]);
}

struct Row {
    const char* name;
    const rt::ControlArray<rt::Label>& labels;
    const rt::ControlArray<rt::Shape>& squares;
    int top;
};

Row displayRow(const frmMain& form)
{
    return {"display row", form.lblLetter, form.shpBack, design::displayRowTop};
}

Row correctionRow(const frmMain& form)
{
    return {"correction row", form.lblLetterWrong, form.shpBackWrong, design::correctionRowTop};
}

// Cells 0..upper are loaded, and no others.
template <class Control> bool loadedUpTo(const rt::ControlArray<Control>& cells, int upper)
{
    if (cells.count() != upper + 1)
        return false;
    for (int i = 1; i <= upper; ++i) {
        if (!cells.isLoaded(i))
            return false;
    }
    return true;
}

// Cells 0..upper exist, stand in place and are shown or hidden together; the shown ones read
// `captions` as far as it goes.
void checkRow(Report& report, const Row& row, int upper, bool shown, const QStringList& captions = {})
{
    const QString name = QString::fromUtf8(row.name);
    const bool loaded = loadedUpTo(row.labels, upper) && loadedUpTo(row.squares, upper);
    report.expect(loaded, [&] {
        return QStringLiteral("%1: cells 1..%2 expected, %3 labels and %4 squares loaded")
            .arg(name)
            .arg(upper)
            .arg(row.labels.count() - 1)
            .arg(row.squares.count() - 1);
    });
    for (int i = 0; loaded && i <= upper; ++i) {
        const rt::Label& label = row.labels(i);
        const rt::Shape& square = row.squares(i);
        report.expect(label.isVisible() == shown && square.isVisible() == shown, [&] {
            return QStringLiteral("%1: cell %2 has label shown %3, square shown %4")
                .arg(name)
                .arg(i)
                .arg(label.isVisible())
                .arg(square.isVisible());
        });
        if (!shown)
            continue;
        report.expect(label.left() == design::cellLeft(i) && label.top() == row.top
                && square.left() == design::squareLeft(i) && square.top() == row.top + 2,
            [&] { return QStringLiteral("%1: cell %2 out of place").arg(name).arg(i); });
        if (i < captions.size()) {
            report.expect(label.caption() == captions.at(i), [&] {
                return QStringLiteral("%1: cell %2 reads '%3', expected '%4'")
                    .arg(name)
                    .arg(i)
                    .arg(label.caption(), captions.at(i));
            });
        }
    }
}

// One caption per letter, then empty ones up to `count`.
QStringList captionsOf(const QString& letters, int count = 0)
{
    QStringList captions;
    for (const QChar letter : letters)
        captions.append(QString(letter));
    while (captions.size() < count)
        captions.append(QString());
    return captions;
}

// The state is one of the four, with timers, buttons and caret as it has them.
void checkControls(Report& report, frmMain& form, const Expected& expected, int shownCells)
{
    const bool presenting = expected.phase == Phase::Presenting;
    const bool answering = expected.phase == Phase::Answering;
    const bool buttonsOn = expected.phase == Phase::Ready || expected.phase == Phase::Failed;
    const bool revealing = presenting && shownCells < expected.letterCount;
    report.expect(form.Timer1.isEnabled() == revealing && form.Timer2.isEnabled() == (presenting && !revealing)
            && form.tmrCursor.isEnabled() == answering,
        [&] {
            return QStringLiteral("timers: Timer1 %1, Timer2 %2, tmrCursor %3 in %4")
                .arg(form.Timer1.isEnabled())
                .arg(form.Timer2.isEnabled())
                .arg(form.tmrCursor.isEnabled())
                .arg(nameOf(expected.phase));
        });
    report.expect(form.cmdStart.isEnabled() == buttonsOn && form.cmdRestart.isEnabled() == buttonsOn, [&] {
        return QStringLiteral("buttons: Start enabled %1, Restart %2 in %3")
            .arg(form.cmdStart.isEnabled())
            .arg(form.cmdRestart.isEnabled())
            .arg(nameOf(expected.phase));
    });
    report.expect(form.cmdExit.isEnabled(), "buttons: Exit disabled");
    if (!answering)
        report.expect(!form.linCursor.isVisible(), "caret: shown outside answer entry");
}

// The instruction follows the phase, the correction row has its caption, and Start offers to
// repeat the step from the first wrong answer on.
void checkTexts(Report& report, const frmMain& form, const Expected& expected)
{
    static const QString instructions[]
        = {design::openingText, design::revealText, design::answerText, design::failedText};
    const QString& instruction = instructions[static_cast<int>(expected.phase)];
    const QString correction = expected.phase == Phase::Failed ? design::correctionCaption : QString();
    const QString& start = expected.repeatOffered ? design::repeatCaption : design::startCaption;
    const auto expectText = [&](const rt::Label& label, const QString& text, const char* name) {
        report.expect(label.caption() == text, [&] {
            return QStringLiteral("texts: %1 reads '%2', expected '%3' in %4")
                .arg(QLatin1String(name), label.caption(), text, nameOf(expected.phase));
        });
    };
    expectText(form.Label1, instruction, "the instruction");
    expectText(form.Label3, correction, "the correction's caption");
    report.expect(form.cmdStart.caption() == start && form.cmdRestart.caption() == design::restartCaption
            && form.cmdExit.caption() == design::exitCaption,
        [&] {
            return QStringLiteral("texts: buttons read '%1', '%2', '%3'")
                .arg(form.cmdStart.caption(), form.cmdRestart.caption(), form.cmdExit.caption());
        });
}

void checkPresentation(Report& report, frmMain& form, const Expected& expected, int shownCells)
{
    const int nextCell = shownCells < expected.letterCount ? shownCells : 0;
    report.expect(form.revealIndex == nextCell, [&] {
        return QStringLiteral("reveal: revealIndex %1, expected %2").arg(form.revealIndex.value()).arg(nextCell);
    });
    const int upper = std::max(shownCells - 1, 0);
    const bool drawn = form.shownLetters.hasElements() && form.shownLetters.upperBound() == upper;
    report.expect(drawn, [&] { return QStringLiteral("reveal: letters 0..%1 expected").arg(upper); });
    QStringList letters;
    for (int i = 0; drawn && i <= upper; ++i) {
        const QString& letter = form.shownLetters(i);
        letters.append(letter);
        report.expect(letter.size() == 1 && letter.front() >= u'A' && letter.front() <= u'Z',
            [&] { return QStringLiteral("reveal: letter %1 is '%2'").arg(i).arg(letter); });
    }
    checkRow(report, displayRow(form), upper, shownCells > 0, letters);
    checkRow(report, correctionRow(form), 0, false);
}

// While answering, the display row and typedLetters hold what was typed, and the caret stands
// at the next cell, blinking in step from the hide tick on.
void checkAnswer(Report& report, frmMain& form, const Expected& expected, std::chrono::nanoseconds now)
{
    const int last = expected.letterCount - 1;
    const int typed = static_cast<int>(expected.typed.size());
    const QStringList captions = captionsOf(expected.typed, last + 1);
    report.expect(form.inputPos == typed,
        [&] { return QStringLiteral("answer: inputPos %1 after %2 letters").arg(form.inputPos.value()).arg(typed); });
    const bool bounded = form.typedLetters.hasElements() && form.typedLetters.upperBound() == last;
    report.expect(bounded, "answer: typedLetters has the wrong bounds");
    for (int i = 0; bounded && i <= last; ++i) {
        report.expect(form.typedLetters(i) == captions.at(i), [&] {
            return QStringLiteral("answer: typedLetters(%1) is '%2', expected '%3'")
                .arg(i)
                .arg(form.typedLetters(i), captions.at(i));
        });
    }
    checkRow(report, displayRow(form), last, true, captions);
    checkRow(report, correctionRow(form), 0, false);
    const auto x = static_cast<float>(design::squareLeft(typed));
    const rt::Line& caret = form.linCursor;
    report.expect(
        caret.x1() == x && caret.x2() == x && caret.y1() == design::caretTop && caret.y2() == design::caretBottom,
        [&] { return QStringLiteral("caret: at x %1..%2, expected %3").arg(caret.x1()).arg(caret.x2()).arg(x); });
    const auto sinceHideTick = now - expected.stepStart - tickInterval * (expected.letterCount + 1);
    report.expect(caret.isVisible() == (sinceHideTick / tickInterval % 2 == 0), "caret: out of step with its blink");
}

// In Ready no run-time cell exists; in Failed cells 1..failedUpper of both rows, showing the
// answer above the letters shown.
void checkRestingRows(Report& report, frmMain& form, const Expected& expected)
{
    const bool failed = expected.phase == Phase::Failed;
    const int upper = failed ? expected.letterCount - 1 : 0;
    checkRow(report, displayRow(form), upper, failed, captionsOf(expected.typed));
    checkRow(report, correctionRow(form), upper, failed, captionsOf(expected.shown));
}

void checkFocus(Report& report, frmMain& form, const Expected& expected)
{
    for (const rt::CommandButton* button : {&form.cmdStart, &form.cmdRestart, &form.cmdExit})
        report.expect(!button->hasFocus() || button->isEnabled(), "focus: on a disabled button");
    report.expect(
        !form.cmdExit.hasFocus() || expected.exitMayHaveFocus, "focus: on Exit, where the user did not put it");
    if (expected.justFailed)
        report.expect(form.cmdStart.hasFocus(), "focus: not on Start after a wrong answer");
}

} // namespace

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
    Report report;
    report.expect(
        form.letterCount >= 3 && form.letterCount <= design::longestStep && form.letterCount == expected.letterCount,
        [&] {
            return QStringLiteral("length: letterCount %1, expected %2")
                .arg(form.letterCount.value())
                .arg(expected.letterCount);
        });
    report.expect(form.failedUpper == expected.failedUpper, [&] {
        return QStringLiteral("length: failedUpper %1, expected %2")
            .arg(form.failedUpper.value())
            .arg(expected.failedUpper);
    });
    const auto now = game.clock().now();
    const int shownCells = std::min(expected.letterCount, static_cast<int>((now - expected.stepStart) / tickInterval));
    checkControls(report, form, expected, shownCells);
    checkTexts(report, form, expected);
    if (expected.phase == Phase::Presenting)
        checkPresentation(report, form, expected, shownCells);
    else if (expected.phase == Phase::Answering)
        checkAnswer(report, form, expected, now);
    else
        checkRestingRows(report, form, expected);
    checkFocus(report, form, expected);
    return report.text();
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
    return QStringLiteral("paint: stale pixels within %1 × %2 at (%3, %4)")
        .arg(stale.width())
        .arg(stale.height())
        .arg(stale.left())
        .arg(stale.top());
}

} // namespace play
