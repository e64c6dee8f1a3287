// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <forms/frmMain.h>
#include <runtime/accessible/FormAccessibles.h>
#include <runtime/clock/VirtualClock.h>
#include <runtime/values/RuntimeError.h>
#include <tests/shared/Design.h>

#include <QImage>
#include <QList>

#include <chrono>
#include <memory>

// The game's window on a virtual clock, opened and active, with run-time errors recorded
// instead of shown in a message box.
class GameFixture {
public:
    explicit GameFixture(std::uint64_t seed = 1);
    ~GameFixture();

    frmMain& form() { return *form_; }
    rt::VirtualClock& clock() { return clock_; }
    const QList<rt::ErrorKind>& errors() const { return errors_; }
    // What the window said by itself to a screen reader's user.
    const QStringList& spoken() const { return spoken_; }
    int exitCode() const { return exitCode_; } // -1 while the window is open

    void advance(std::chrono::milliseconds duration) { clock_.advance(duration); }
    // Keys go where a real keyboard sends them: to the focused widget, or the window itself.
    void pressKey(Qt::Key key, const QString& text = QString(), bool autoRepeat = false);
    void type(const QString& text);
    void click(rt::CommandButton& button);
    // The whole window drawn afresh; and what it shows after the repaints that its changes asked
    // for, which an event loop would run.
    QImage render();
    QImage painted();

    // Runs a step from Start to the hide tick and returns the letters shown; or clicks Start first.
    QString presentStep();
    QString startAnswering();
    // The step's letters drawn so far, in order.
    QString shownLetters();
    QString displayRow();
    QString correctionRow();
    QWidget* focusedWidget();

private:
    rt::VirtualClock clock_;
    std::unique_ptr<frmMain> form_;
    std::unique_ptr<rt::FormAccessibles> accessibles_;
    QList<rt::ErrorKind> errors_;
    QStringList spoken_;
    QImage rendered_;
    int exitCode_ = -1;
};
