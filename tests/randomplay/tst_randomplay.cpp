// SPDX-License-Identifier: GPL-3.0-or-later
// Random sequences of keys, clicks and clock advances on the real window, each event checked
// against a model of the game. KORIMO_RANDOM_EVENTS sets how many events the random run plays
// (a million by default); KORIMO_RANDOM_SEED sets its first seed, so that a reported seed
// replays: KORIMO_RANDOM_SEED=<seed> KORIMO_RANDOM_EVENTS=1 plays that one sequence.
#include "GameModel.h"
#include <tests/game/GameFixture.h>

#include <QBackingStore>
#include <QPainter>
#include <QTest>

using namespace play;

namespace {

constexpr int chaosLength = 1000;
// Comparing every paint with a full repaint costs some fifty times the other checks: one random
// sequence in this many has its paints compared after every event.
constexpr std::uint64_t paintSampling = 200;

std::uint64_t firstSeed()
{
    return qEnvironmentVariableIsSet("KORIMO_RANDOM_SEED") ? qEnvironmentVariable("KORIMO_RANDOM_SEED").toULongLong()
                                                           : 1;
}

// Where a corruption is made: the events that lead there, and the state they reach.
struct Setup {
    Phase phase;
    Sequence events;
};

const KeyPress q{Qt::Key_Q, u"q"};
const KeyPress backspace{Qt::Key_Backspace, u"\b"};
const KeyPress enter{Qt::Key_Return, u"\r"};
const KeyPress space{Qt::Key_Space, u" "};
// With the letters that seed 1 draws, the second answer, at four letters, is wrong.
const Sequence wrongAtFour = {Click{Button::Start}, Advance{2000}, TypeAnswer{}, Advance{2500}, q, q, q, q};

Sequence operator+(Sequence first, const Sequence& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const Setup ready = {Phase::Ready, {}};
const Setup presenting = {Phase::Presenting, {Click{Button::Start}, Advance{1200}}};
// In the hidden half of the caret's blink, where the state line leaves out the caret's place.
const Setup answering
    = {Phase::Answering, {Click{Button::Start}, Advance{2000}, KeyPress{Qt::Key_A, u"a"}, Advance{500}}};
const Setup failed = {Phase::Failed, wrongAtFour};

struct Corruption {
    const char* rule;
    Setup setup;
    std::function<void(frmMain&)> corrupt;
};

// Pixels that reach the window's backing store without its own painting: stale, as far as the
// window knows.
void scribble(QWidget& window)
{
    const QRect area(0, 0, 8, 8);
    QBackingStore& store = *window.backingStore();
    store.beginPaint(area);
    QPainter(store.paintDevice()).fillRect(area, Qt::red);
    store.endPaint();
    store.flush(area);
}

int eventsToPlay()
{
    const int events = qEnvironmentVariableIntValue("KORIMO_RANDOM_EVENTS");
    return events > 0 ? events : 1'000'000;
}

} // namespace

class TestRandomPlay : public QObject {
    Q_OBJECT

private slots:
    void randomSequencesKeepTheGameConsistent()
    {
        Tally total;
        int sequences = 0;
        for (std::uint64_t seed = firstSeed(); total.events < eventsToPlay(); ++seed, ++sequences) {
            const Sequence events = drawSequence(seed, Mix::Chaos, chaosLength);
            const Paints paints = seed % paintSampling == 0 ? Paints::Compared : Paints::Unchecked;
            const Outcome outcome = replay(events, seed, paints);
            if (outcome.failure)
                QFAIL(qPrintable(reproduction(seed, events, *outcome.failure, paints)));
            total.events += outcome.tally.events;
            total.correctAnswers += outcome.tally.correctAnswers;
            total.wrongAnswers += outcome.tally.wrongAnswers;
            total.longestStep = std::max(total.longestStep, outcome.tally.longestStep);
        }
        qInfo("%d events in %d sequences: %d right answers, %d wrong, longest step %d letters", total.events, sequences,
            total.correctAnswers, total.wrongAnswers, total.longestStep);
    }

    // Catches a fault that shows only in long steps, up to the 16-bit limit of the positions.
    void climbingReachesTheLongestStep()
    {
        const std::uint64_t seed = firstSeed();
        const Sequence events = drawSequence(seed, Mix::Climb, 3000);
        const Outcome outcome = replay(events, seed);
        if (outcome.failure)
            QFAIL(qPrintable(reproduction(seed, events, *outcome.failure, Paints::Unchecked)));
        qInfo("%d events: %d right answers, %d wrong, longest step %d letters", outcome.tally.events,
            outcome.tally.correctAnswers, outcome.tally.wrongAnswers, outcome.tally.longestStep);
        QCOMPARE(outcome.tally.longestStep, int(design::longestStep));
    }

    // Short sequences kept for paths that matter, named after the case each plays. The first is
    // what the random test printed when Start was made, on purpose, to leave correction cell 0's
    // square shown.
    void keptSequencesKeepTheGameConsistent_data()
    {
        QTest::addColumn<Sequence>("events");
        QTest::addColumn<quint64>("seed");
        QTest::addColumn<Phase>("phase");
        const Sequence answering = {Click{Button::Start}, Advance{2000}};
        const auto row = [](const char* name, const Sequence& events, Phase phase, quint64 seed = 1) {
            QTest::newRow(name) << events << seed << phase;
        };
        row("restart after a wrong answer clears the correction row",
            {space, Advance{2314}, KeyPress{Qt::Key_J, u"j"}, KeyPress{Qt::Key_Y, u"Y"}, KeyPress{Qt::Key_M, u"m"},
                Click{Button::Restart}},
            Phase::Presenting, 4);
        row("Enter on the focused Start begins a step", {enter}, Phase::Presenting);
        row("Space on the focused Start begins a step", {space}, Phase::Presenting);
        row("Enter and Space during a step click nothing",
            {enter, enter, space, Advance{500}, enter, space, Advance{500}, enter, space, Advance{500}, enter, space,
                Advance{500}},
            Phase::Answering);
        row("Tab to Exit while presenting, then Space ends the game", {space, KeyPress{Qt::Key_Tab, u"\t"}, space},
            Phase::Ended);
        row("Restart in Ready begins a three-letter step", {Click{Button::Restart}, Advance{2000}}, Phase::Answering);
        row("disabled buttons raise nothing",
            {Click{Button::Start}, Click{Button::Start}, Click{Button::Restart}, Advance{2000}, Click{Button::Restart},
                Click{Button::Start}, enter},
            Phase::Answering);
        row("keys in Ready write nothing",
            {KeyPress{Qt::Key_A, u"a"}, backspace, KeyPress{Qt::Key_unknown, u"\x0000\xffff"},
                KeyPress{Qt::Key_Backspace, u""}},
            Phase::Ready);
        row("keys during the presentation write nothing",
            {Click{Button::Start}, Advance{250}, KeyPress{Qt::Key_unknown, u"abc"}, backspace, Advance{500},
                KeyPress{Qt::Key_unknown, u"abc"}, backspace, Advance{1250}},
            Phase::Answering);
        row("small letters type capitals and move the caret in either half of its blink",
            answering + Sequence{q, Advance{500}, KeyPress{Qt::Key_W, u"w"}, Advance{500}}, Phase::Answering);
        row("the caret blinks in step through long gaps and typing",
            answering
                + Sequence{Advance{600'001}, KeyPress{Qt::Key_A, u"a"}, Advance{499}, backspace, Advance{1},
                    Advance{0}},
            Phase::Answering);
        row("Backspace takes back the last letter, at the first cell nothing",
            answering + Sequence{backspace, q, q, backspace, TypeAnswer{}}, Phase::Presenting);
        row("other characters write nothing",
            answering + Sequence{q, KeyPress{Qt::Key_unknown, u"7 [_`{@é ı ß Ａ中\r\x1b"}, KeyPress{Qt::Key_F1, u""}},
            Phase::Answering);
        row("a paste types its letters in order",
            answering + Sequence{KeyPress{Qt::Key_unknown, u"1qé中 w"}, KeyPress{Qt::Key_unknown, u"\b\b"}},
            Phase::Answering);
        // Seed 1 shows DMQ first.
        row("a paste longer than the answer stops at the judgement",
            answering + Sequence{KeyPress{Qt::Key_unknown, u"dmqqwerty"}, Advance{2500}}, Phase::Answering);
        row("surrogate pairs and lone halves are no letters",
            answering
                + Sequence{KeyPress{Qt::Key_unknown, u"\xd835\xdc00"}, KeyPress{Qt::Key_unknown, u"\xdbff\xdfff"},
                    KeyPress{Qt::Key_unknown, u"\xd835"}, KeyPress{Qt::Key_unknown, u"\xdc00"}},
            Phase::Answering);
        const KeyPress heldZ{Qt::Key_Z, u"z", true};
        row("a held letter types on every repeat up to the judgement",
            answering + Sequence{KeyPress{Qt::Key_Z, u"z"}, heldZ, heldZ, heldZ, heldZ}, Phase::Failed);
        row("a right answer begins the next, longer step at once", answering + Sequence{TypeAnswer{}},
            Phase::Presenting);
        row("a wrong answer takes the focus from Exit to Start",
            answering
                + Sequence{TypeAnswer{}, Advance{2500}, KeyPress{Qt::Key_Tab, u"\t"},
                    KeyPress{Qt::Key_unknown, u"qqqq"}},
            Phase::Failed);
        row("Enter after a wrong answer repeats the step", wrongAtFour + Sequence{enter, Advance{2500}},
            Phase::Answering);
        row("the right answer typed after a wrong one judges nothing",
            wrongAtFour + Sequence{TypeAnswer{}, backspace, enter}, Phase::Presenting);
    }

    void keptSequencesKeepTheGameConsistent()
    {
        QFETCH(Sequence, events);
        QFETCH(quint64, seed);
        QFETCH(Phase, phase);
        const Outcome outcome = replay(events, seed, Paints::Compared);
        QVERIFY2(!outcome.failure, outcome.failure ? qPrintable(outcome.failure->problem) : "");
        QCOMPARE(outcome.phase, phase);
    }

    // The checks themselves: each corruption of the window must break the rule named, among others.
    void checksCatchAWindowOutOfStep()
    {
        const Corruption corruptions[] = {
            {"display row", answering, [](frmMain& form) { form.lblLetter(1).setCaption(QStringLiteral("Q")); }},
            {"display row", presenting, [](frmMain& form) { form.shpBack.load(5); }},
            {"correction row", failed, [](frmMain& form) { form.lblLetterWrong.load(4); }},
            {"correction row", ready, [](frmMain& form) { form.shpBackWrong(0).setVisible(true); }},
            {"answer", answering, [](frmMain& form) { form.typedLetters(2) = QStringLiteral("X"); }},
            {"caret", answering, [](frmMain& form) { form.linCursor.setX1(22); }},
            {"caret", failed, [](frmMain& form) { form.linCursor.setVisible(true); }},
            {"timers", answering, [](frmMain& form) { form.tmrCursor.setEnabled(false); }},
            {"buttons", presenting, [](frmMain& form) { form.cmdRestart.setEnabled(true); }},
            {"texts", presenting, [](frmMain& form) { form.Label1.setCaption(design::answerText); }},
            {"texts", failed, [](frmMain& form) { form.Label3.setCaption(QString()); }},
            {"buttons", answering, [](frmMain& form) { form.cmdStart.setCaption(design::repeatCaption); }},
            {"paint", answering, scribble},
            {"focus", ready, [](frmMain& form) { form.cmdExit.setFocus(); }},
            {"length", failed, [](frmMain& form) { form.failedUpper = 1; }},
            {"length", ready, [](frmMain& form) { form.letterCount = 2; }},
            {"reveal", presenting, [](frmMain& form) { form.revealIndex = 1; }},
            {"reveal", presenting, [](frmMain& form) { form.shownLetters(1) = QStringLiteral("a"); }},
            {"error", ready,
                [](frmMain& form) { form.raiseEvent([&form] { form.lblLetter(7).setCaption(QString()); }); }},
            {"exit", presenting, [](frmMain& form) { form.close(); }},
        };
        for (const Corruption& corruption : corruptions) {
            GameFixture game;
            GameModel model(game, Paints::Compared);
            for (const Event& event : corruption.setup.events)
                QCOMPARE(model.step(event), QString());
            QCOMPARE(model.expected().phase, corruption.setup.phase);
            corruption.corrupt(game.form());
            const QString problem = model.step(Advance{0});
            QVERIFY2((QStringLiteral("; ") + problem).contains(QStringLiteral("; %1:").arg(corruption.rule)),
                qPrintable(corruption.rule + QStringLiteral(" expected, got: ") + problem));
        }
    }

    // A stand-in failure, reaching a step of five letters, needs exactly five events: Start, and
    // twice a presentation and its right answer.
    void shrinkingLeavesOnlyWhatTheFailureNeeds()
    {
        const auto fails = [](const Sequence& events) { return replay(events, 1).tally.longestStep >= 5; };
        const Sequence events = drawSequence(1, Mix::Climb, 100);
        QVERIFY(fails(events));
        const Sequence shortest = shrink(events, fails);
        QCOMPARE(int(shortest.size()), 5);
        QVERIFY(fails(shortest));
    }
};

QTEST_MAIN(TestRandomPlay)
#include "tst_randomplay.moc"
