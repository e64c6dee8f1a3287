// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <runtime/clock/Clock.h>

#include <functional>
#include <memory>

namespace rt {

class Form;
class FormControls;

struct TimerDescription {
    int interval = 0; // milliseconds; 0 never ticks
    bool enabled = false;
};

// Ticks every interval while enabled. Enabling starts a fresh interval, even while the timer
// runs; disabling stops further ticks at once.
class Timer {
public:
    Timer(Form& form, const TimerDescription& description);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int interval() const { return interval_; }

    void onTimer(std::function<void()> handler);

private:
    FormControls& controls_;
    int interval_;
    bool enabled_ = false;
    std::function<void()> handler_;
    std::unique_ptr<ClockTimer> clockTimer_;
};

} // namespace rt
