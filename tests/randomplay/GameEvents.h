// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

class GameFixture;
class frmMain;
namespace rt {
class CommandButton;
}

// What a user and the clock can do to the game window, as plain values: a sequence of them
// replays exactly, prints as source code for a test to keep, and can be cut down event by event.
namespace play {

enum class Button { Start, Restart, Exit };

// A key as a keyboard sends it: its key code and the text it types, which may be empty (F1),
// one UTF-16 unit, or several (a paste, an input method's commit, a surrogate pair).
struct KeyPress {
    int key;
    std::u16string text;
    bool autoRepeat = false;
};
// A mouse click, on an enabled button or not.
struct Click {
    Button button;
};
struct Advance {
    int milliseconds;
};
// Takes back whatever was typed and types the letters shown, so that long steps are reached.
struct TypeAnswer { };

using Event = std::variant<KeyPress, Click, Advance, TypeAnswer>;
using Sequence = std::vector<Event>;

// A number below the bound: from a seeded engine in the random test, from the input's bytes in
// the fuzzer.
using Chooser = std::function<std::uint32_t(std::uint32_t bound)>;

// Chaos draws every kind of event; Climb mostly lets steps run and answers them right, so
// that it reaches the longest step.
enum class Mix { Chaos, Climb };

Event drawEvent(const Chooser& below, Mix mix);
Sequence drawSequence(std::uint64_t seed, Mix mix, int length);

// The keys that an event sends, as they stand in the game at this moment (TypeAnswer depends
// on what is shown and typed); none for a click or an advance.
std::vector<KeyPress> keysOf(const Event& event, GameFixture& game);
void apply(const Event& event, GameFixture& game);
rt::CommandButton& buttonOf(Button button, frmMain& form);

QString toCode(const Event& event);
QString toCode(const Sequence& events);

} // namespace play
