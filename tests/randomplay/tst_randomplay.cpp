// SPDX-License-Identifier: GPL-3.0-or-later
// Random sequences of keys, clicks and clock advances on the real window, each event checked
// against a model of the game. KORIMO_RANDOM_EVENTS sets how many events the random run plays
// (a million by default); KORIMO_RANDOM_SEED sets its first seed, so that a reported seed
// replays: KORIMO_RANDOM_SEED=<seed> KORIMO_RANDOM_EVENTS=1 plays that one sequence.
#include "GameReplay.h"
#include <tests/game/GameFixture.h>

#include <QTest>

using namespace play;

namespace {

constexpr int chaosLength = 1000;

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

const Setup ready = {Phase::Ready, {}};
const Setup presenting = {Phase::Presenting, {Click{Button::Start}, Advance{1200}}};
const Setup answering = {Phase::Answering, {Click{Button::Start}, Advance{2000}, KeyPress{Qt::Key_A, u"a"}}};
// With the letters that seed 1 draws, the second answer is wrong.
const Setup failed = {Phase::Failed,
    {Click{Button::Start}, Advance{2000}, TypeAnswer{}, Advance{2500}, KeyPress{Qt::Key_Q, u"q"},
        KeyPress{Qt::Key_Q, u"q"}, KeyPress{Qt::Key_Q, u"q"}, KeyPress{Qt::Key_Q, u"q"}}};

struct Corruption {
    const char* rule;
    Setup setup;
    std::function<void(frmMain&)> corrupt;
};

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
            const Outcome outcome = replay(events, seed);
            if (outcome.failure)
                QFAIL(qPrintable(reproduction(seed, events, *outcome.failure)));
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
            QFAIL(qPrintable(reproduction(seed, events, *outcome.failure)));
        qInfo("%d events: %d right answers, %d wrong, longest step %d letters", outcome.tally.events,
            outcome.tally.correctAnswers, outcome.tally.wrongAnswers, outcome.tally.longestStep);
        QCOMPARE(outcome.tally.longestStep, int(frmMain::maxLetterCount));
    }

    // Short sequences kept for paths that matter. The first is what the random test printed when
    // Start was made, on purpose, to leave correction cell 0's square shown.
    void keptSequencesKeepTheGameConsistent_data()
    {
        QTest::addColumn<Sequence>("events");
        QTest::addColumn<quint64>("seed");
        QTest::addColumn<Phase>("phase");
        const Sequence wrongAtFour = {Click{Button::Start}, Advance{2000}, TypeAnswer{}, Advance{2500},
            KeyPress{Qt::Key_Q, u"q"}, KeyPress{Qt::Key_Q, u"q"}, KeyPress{Qt::Key_Q, u"q"}, KeyPress{Qt::Key_Q, u"q"}};
        QTest::newRow("restart after a wrong answer clears the correction row") << Sequence{
            KeyPress{Qt::Key_Space, u" "}, Advance{2314}, KeyPress{Qt::Key_J, u"j"}, KeyPress{Qt::Key_Y, u"Y"},
            KeyPress{Qt::Key_M, u"m"}, Click{Button::Restart}} << quint64(4) << Phase::Presenting;
        QTest::newRow("Tab to Exit while presenting, then Space ends the game")
            << Sequence{KeyPress{Qt::Key_Space, u" "}, KeyPress{Qt::Key_Tab, u"\t"}, KeyPress{Qt::Key_Space, u" "}}
            << quint64(1) << Phase::Ended;
        QTest::newRow("a wrong answer takes the focus from Exit to Start") << Sequence{Click{Button::Start},
            Advance{2000}, TypeAnswer{}, Advance{2500}, KeyPress{Qt::Key_Tab, u"\t"},
            KeyPress{Qt::Key_unknown, u"qqqq"}} << quint64(1) << Phase::Failed;
        Sequence retyped = wrongAtFour;
        retyped.insert(
            retyped.end(), {TypeAnswer{}, KeyPress{Qt::Key_Backspace, u"\b"}, KeyPress{Qt::Key_Return, u"\r"}});
        QTest::newRow("the right answer typed after a wrong one judges nothing")
            << retyped << quint64(1) << Phase::Presenting;
        QTest::newRow("disabled buttons raise nothing")
            << Sequence{Click{Button::Start}, Click{Button::Start}, Click{Button::Restart}, Advance{2000},
                   Click{Button::Restart}, Click{Button::Start}, KeyPress{Qt::Key_Return, u"\r"}}
            << quint64(1) << Phase::Answering;
        QTest::newRow("the caret blinks in step through long gaps and typing")
            << Sequence{Click{Button::Start}, Advance{2000}, Advance{600'001}, KeyPress{Qt::Key_A, u"a"}, Advance{499},
                   KeyPress{Qt::Key_Backspace, u"\b"}, Advance{1}, Advance{0}}
            << quint64(1) << Phase::Answering;
        QTest::newRow("keys in Ready write nothing")
            << Sequence{KeyPress{Qt::Key_A, u"a"}, KeyPress{Qt::Key_Backspace, u"\b"},
                   KeyPress{Qt::Key_unknown, u"\x0000\xffff"}, KeyPress{Qt::Key_Backspace, u""}}
            << quint64(1) << Phase::Ready;
    }

    void keptSequencesKeepTheGameConsistent()
    {
        QFETCH(Sequence, events);
        QFETCH(quint64, seed);
        QFETCH(Phase, phase);
        const Outcome outcome = replay(events, seed);
        QVERIFY2(!outcome.failure, outcome.failure ? qPrintable(outcome.failure->problem) : "");
        QCOMPARE(outcome.phase, phase);
    }

    // The checks themselves: each corruption of the window must break the rule named.
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
            {"focus", ready, [](frmMain& form) { form.cmdExit.setFocus(); }},
            {"length", failed, [](frmMain& form) { form.failedUpper = 1; }},
            {"length", ready, [](frmMain& form) { form.letterCount = 2; }},
            {"reveal", presenting, [](frmMain& form) { form.revealIndex = 1; }},
            {"error", ready,
                [](frmMain& form) { form.raiseEvent([&form] { form.lblLetter(7).setCaption(QString()); }); }},
            {"exit", presenting, [](frmMain& form) { form.unload(); }},
        };
        for (const Corruption& corruption : corruptions) {
            GameFixture game;
            GameModel model(game);
            for (const Event& event : corruption.setup.events)
                QCOMPARE(model.step(event), QString());
            QCOMPARE(model.expected().phase, corruption.setup.phase);
            corruption.corrupt(game.form());
            const QString problem = model.step(Advance{0});
            QVERIFY2(problem.startsWith(QLatin1String(corruption.rule) + u':'),
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
