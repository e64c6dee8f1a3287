// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GameEvents.h"

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

class GameFixture;
class QWidget;

namespace play {

enum class Phase { Ready, Presenting, Answering, Failed, Ended };

// What the game must show at a moment: the phase, the step's length, the answer typed so far
// and the time the step began, from which the reveal and the caret's blink follow.
struct Expected {
    Phase phase = Phase::Ready;
    int letterCount = 3;
    int failedUpper = 0;
    QString shown; // the step's letters, once all are shown
    QString typed;
    std::chrono::nanoseconds stepStart{0};
    bool justFailed = false; // the last event gave a wrong answer
    bool repeatOffered = false; // Start has offered to repeat the step since the first wrong answer
    bool exitMayHaveFocus = false; // the user has moved the focus, and it may have gone to Exit
};

struct Tally {
    int events = 0;
    int correctAnswers = 0;
    int wrongAnswers = 0;
    int longestStep = 3;
};

// Whether each event's paints are also compared with a full repaint, which costs far more than
// the other checks.
enum class Paints { Unchecked, Compared };

// Plays events on the real window and follows them in a model of the game, then checks the
// window against the model and the game's invariants.
class GameModel {
public:
    explicit GameModel(GameFixture& game, Paints paints = Paints::Unchecked);

    // Applies the event; returns what is wrong afterwards, empty when nothing is.
    QString step(const Event& event);

    bool ended() const { return expected_.phase == Phase::Ended; }
    const Expected& expected() const { return expected_; }
    const Tally& tally() const { return tally_; }

private:
    void press(const KeyPress& key, QWidget* target);
    void typeCode(char16_t code);
    void click(Button button);
    bool isEnabled(Button button) const;
    void startStep();
    void judge();
    void letTimePass();

    GameFixture& game_;
    Paints paints_;
    Expected expected_;
    Tally tally_;
};

// The checks, against the window as it stands; problems start with the name of the rule they break.
QString checkGame(GameFixture& game, const Expected& expected);
QString checkPaint(GameFixture& game);

struct Failure {
    int event; // index of the event after which the problem showed
    QString problem;
};

struct Outcome {
    std::optional<Failure> failure;
    Tally tally;
    Phase phase; // where the sequence left the game
};

// Plays the events on a new window whose random source starts from `seed`, checking after
// each; stops at the first problem, or when the window has closed.
Outcome replay(const Sequence& events, std::uint64_t seed, Paints paints = Paints::Unchecked);

using Deadline = std::chrono::steady_clock::time_point;
using Fails = std::function<bool(const Sequence&)>;

// Cuts events away while `fails` holds, down to a sequence from which no single event can go,
// or to the shortest one found by the deadline.
Sequence shrink(Sequence events, const Fails& fails, Deadline deadline = Deadline::max());

// The seed, the problem, and the shortest sequence found within a minute that breaks the same
// rule, as source code that a test can keep.
QString reproduction(std::uint64_t seed, const Sequence& events, const Failure& failure, Paints paints);

} // namespace play
