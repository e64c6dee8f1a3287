// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Appearance.h"
#include "Int16.h"
#include "Random.h"
#include <runtime/clock/Clock.h>

#include <QWidget>

#include <memory>
#include <vector>

namespace rt {

class CommandButton;
class FormControls;
class Label;
class Line;
class Timer;

struct FormDescription {
    QString caption = {};
    int clientWidth = 0;
    int clientHeight = 0;
    Color backColor = systemColor(QPalette::Button);
    QString iconPath = {};
    FontDescription font = {}; // the buttons'
};

// A fixed-size window with a close box only, built from a description. It draws its labels,
// shapes and lines itself, in description order, and previews every character key: each reaches
// Form_KeyPress, with its 16-bit code, once and before the focused button sees it.
//
// Its faces: the public members serve the program that opens the window; the protected ones
// serve the window's event handlers. The controls, and the tests that drive events and watch
// errors, reach the form through FormControls::of, its one door.
class Form : public QWidget {
    Q_OBJECT

public:
    Form(Clock& clock, const FormDescription& description);
    ~Form() override;

    // Raises Form_Load, then shows the window centred on its screen with the focus on the
    // button of lowest tab index.
    void open();
    bool isUnloaded() const { return ended_; }

signals:
    void unloaded(int exitCode);

protected:
    // For the window's event handlers.
    Clock& clock() const { return clock_; }
    Random& random() { return random_; }
    // Ends the window: the timers stop, the window closes, unloaded(0) follows.
    void unload();

    // For the window's description: how a screen reader reads what the window draws.
    void readAsOneText(const Label& cell0, const Label& label, const Line& caret, const Timer& blink);
    void describe(const CommandButton& button, std::vector<const Label*> labels);

    virtual void Form_Load() { }
    virtual void Form_KeyPress(Int16 keyAscii) { Q_UNUSED(keyAscii); }

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    friend class FormControls;

    void previewKey(const QKeyEvent& event);
    void end(int exitCode);

    Clock& clock_;
    Random random_;
    QColor backColor_;
    bool ended_ = false;
    bool controlsPrepared_ = false;
    const std::unique_ptr<FormControls> controls_;
};

} // namespace rt
