// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Appearance.h"
#include "Clock.h"
#include "Int16.h"
#include "Random.h"
#include "RuntimeError.h"

#include <QWidget>

#include <functional>
#include <set>
#include <vector>

namespace rt {

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

    Clock& clock() const { return clock_; }
    Random& random() { return random_; }

    // Runs an event handler. A run-time error it raises ends the program: the timers stop,
    // the window takes no more input, the report is shown, and unloaded(1) follows.
    void raiseEvent(const std::function<void()>& handler);
    // Tests observe the report here instead of in a modal message box.
    void setErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }

    virtual void Form_Load() { }
    virtual void Form_KeyPress(Int16 keyAscii) { Q_UNUSED(keyAscii); }

    // For the controls: registration in drawing and tab order.
    int nextDrawingRank() { return nextRank_++; }
    void addGraphic(GraphicControl* control);
    void removeGraphic(GraphicControl* control);
    void addButton(CommandButton* button);
    void removeButton(CommandButton* button);
    void addTimer(Timer* timer);
    void removeTimer(Timer* timer);
    void invalidate(const QRect& area);
    void takeFocus();
    void giveFocus(QWidget* button);

signals:
    void unloaded(int exitCode);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    struct DrawingOrder {
        bool operator()(const GraphicControl* a, const GraphicControl* b) const;
    };

    void previewKey(const QKeyEvent& event);
    void end(int exitCode);
    void stopTimers();
    void focusFirstButton();
    std::vector<QWidget*> focusableButtons() const;

    Clock& clock_;
    Random random_;
    QColor backColor_;
    ErrorReporter reporter_;
    int nextRank_ = 0;
    bool ended_ = false;
    std::set<GraphicControl*, DrawingOrder> graphics_; // topmost first
    std::vector<CommandButton*> buttons_;
    std::vector<Timer*> timers_;
};

} // namespace rt
