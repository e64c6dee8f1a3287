// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <forms/frmMain.h>
#include <runtime/accessible/FormAccessibles.h>
#include <runtime/clock/VirtualClock.h>
#include <runtime/values/RuntimeError.h>
#include <tests/shared/Letters.h>

#include <QImage>
#include <QList>
#include <QStringList>

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
    // Plays a script of words separated by spaces: start, restart, exit click that button, backtab
    // presses that key; +N waits N ms; reveal waits until the step's hide tick; type:KEYS types, '='
    // for the letter shown where the next goes, '-' that in lower case, '~' the other letter, '*'
    // all the letters left; key:KEYS presses one key with that text where the focus is,
    // exit-key:KEYS sends its press to Exit; hold:\r, hold:space hold that key for 8 repeats;
    // ime:TEXT commits TEXT as an input method; away makes another window active, back this one;
    // length:N, failed:N set letterCount, failedUpper; drop:N unloads the display row's shadow N.
    void play(const QString& script);
    // What the window shows and holds, in one line: the instruction's name, and the correction
    // caption's after a '/' where it shows; the display and the correction row, a cell each, '.'
    // hidden, '_' blank, '=' the letter shown at its place, '~' the other letter, '@' out of its
    // place, '!' shown without its shadow or the other way round; the buttons' names, '-' before a
    // disabled one and '*' after the focused one; the step's length/the letters drawn; where the
    // next letter goes, '|' after it while the caret shows there; the running timers or '-'; then
    // how the window ended and the errors reported.
    QString state();
    // How the state line marks cell i's caption against `shown`, the letters shown in order.
    static QString mark(const QString& caption, const QString& shown, int i);
    // The whole window drawn afresh; and what it shows after the repaints that its changes asked
    // for, which an event loop would run.
    QImage render();
    QImage painted();

    // Runs a step from Start to the hide tick and returns the letters shown.
    QString presentStep();
    // The step's letters drawn so far, in order.
    QString shownLetters();
    QWidget* focusedWidget();

private:
    QString keysFor(const QString& keys);
    QString row(const rt::ControlArray<rt::Label>& cells, const rt::ControlArray<rt::Shape>& shadows, int top);

    rt::VirtualClock clock_;
    std::unique_ptr<frmMain> form_;
    std::unique_ptr<rt::FormAccessibles> accessibles_;
    std::unique_ptr<QWidget> otherWindow_;
    QList<rt::ErrorKind> errors_;
    QStringList spoken_;
    QImage rendered_;
    int exitCode_ = -1;
};

// A table of plays, each row a script and the state it leaves; and the test that plays a row.
void addPlayColumns();
void addPlay(const char* name, const QString& script, const QString& state);
void checkPlay();
