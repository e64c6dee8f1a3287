// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Appearance.h"
#include "FormObserver.h"
#include "GraphicControl.h"

#include <runtime/values/Int16.h>
#include <runtime/values/Random.h>
#include <runtime/values/RuntimeError.h>

#include <QMargins>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace rt {

class Clock;
class FormControls;

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
// Its faces: the public members serve the program that opens the window, the wings that attach
// to it from outside and the tests; the protected ones serve the window's event handlers. The
// controls reach the form through their registry, private to this folder.
class Form : public QWidget {
    Q_OBJECT

public:
    // Shows a window placed but not yet shown, as the platform asks: it may ask its window
    // manager to centre around the window the frame it adds.
    using Show = std::function<void(QWidget& window)>;
    using ErrorReporter = std::function<void(QWidget& window, const RuntimeError& error)>;

    Form(Clock& clock, const FormDescription& description);
    ~Form() override;

    // Raises Form_Load, then shows the window centred on its screen's available area, through
    // `show` where given, with the focus on the button of lowest tab index.
    void open(const Show& show = {});
    bool isUnloaded() const;

    // For the wings: what the form shows, and when an event begins and ends.
    const Canvas::Graphics& graphics() const;
    std::vector<QWidget*> buttonsInTabOrder() const;
    void addObserver(FormObserver* observer);
    void removeObserver(FormObserver* observer);

    // For tests: a report seen instead of the message box, the random source to seed, and code
    // run as one of the window's events.
    void setErrorReporter(ErrorReporter reporter);
    Random& random();
    void raiseEvent(const std::function<void()>& handler, EventKind kind = EventKind::Click);

signals:
    void unloaded(int exitCode);

protected:
    // For the window's event handlers.
    Clock& clock() const { return clock_; }
    // Ends the window: the timers stop, the window closes, unloaded(0) follows.
    void unload();

    virtual void Form_Load() { }
    virtual void Form_KeyPress(Int16 keyAscii) { Q_UNUSED(keyAscii); }

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    friend FormControls& controlsOf(Form& form);

    void previewKey(const QKeyEvent& event);

    Clock& clock_;
    QColor backColor_;
    bool controlsPrepared_ = false;
    const std::unique_ptr<FormControls> controls_;
};

} // namespace rt
