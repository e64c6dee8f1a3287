// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Appearance.h"
#include "Clock.h"
#include "FormControls.h"
#include "Int16.h"
#include "Random.h"
#include "RuntimeError.h"

#include <QWidget>

#include <functional>

namespace rt {

class AccessibleForm;
class CommandButton;
class GraphicControl;
class Timer;

struct FormDescription {
    QString caption = {};
    int clientWidth = 0;
    int clientHeight = 0;
    Color backColor = systemColor(QPalette::Button);
    QString iconPath = {};
};

// A fixed-size window with a close box only, built from a description. It draws its labels,
// shapes and lines itself, in description order, and previews every character key: each reaches
// Form_KeyPress, with its 16-bit code, once and before the focused button sees it.
//
// Its faces: the public members serve the program that opens the window (and the tests that
// stand in for it); the protected ones serve the window's event handlers. The controls register
// through FormControls, which only they can reach.
class Form : public QWidget {
    Q_OBJECT

public:
    using ErrorReporter = std::function<void(Form&, const RuntimeError&)>;

    Form(Clock& clock, const FormDescription& description);
    ~Form() override;

    // Raises Form_Load, then shows the window centred on its screen with the focus on the
    // button of lowest tab index.
    void open();
    // Ends the window: the timers stop, the window closes, unloaded(0) follows.
    void unload();
    bool isUnloaded() const { return ended_; }

    Random& random() { return random_; }

    // Runs an event handler. A run-time error it raises ends the program: the timers stop,
    // the window takes no more input, the report is shown, and unloaded(1) follows.
    void raiseEvent(const std::function<void()>& handler);
    // Tests observe the report here instead of in a modal message box.
    void setErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }

signals:
    void unloaded(int exitCode);

protected:
    // For the window's event handlers.
    Clock& clock() const { return clock_; }

    virtual void Form_Load() { }
    virtual void Form_KeyPress(Int16 keyAscii) { Q_UNUSED(keyAscii); }

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    friend class AccessibleForm;
    friend class CommandButton;
    friend class GraphicControl;
    friend class Timer;

    void previewKey(const QKeyEvent& event);
    void end(int exitCode);

    Clock& clock_;
    Random random_;
    QColor backColor_;
    ErrorReporter reporter_;
    bool ended_ = false;
    FormControls controls_;
};

} // namespace rt
