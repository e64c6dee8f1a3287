// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace rt {

// What raised an event: text that a key's handler writes is text the user typed.
enum class EventKind { Load, Click, Tick, Key };

// Told when each of a form's events begins and when it has ended, so that a wing attached from
// outside can compare what the form showed before with what it shows after. Nested calls of
// handlers are part of the event that made them.
class FormObserver {
public:
    virtual void eventBegins(EventKind kind) = 0;
    // Not told after an event that ended the program with a run-time error.
    virtual void eventEnded(EventKind kind) = 0;

protected:
    ~FormObserver() = default;
};

} // namespace rt
