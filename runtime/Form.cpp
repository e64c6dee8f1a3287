// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form.h"

#include "CommandButton.h"
#include "FormControls.h"
#include "GraphicControl.h"
#include "KeyCodes.h"
#include "WindowFrame.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace rt {

Form::Form(Clock& clock, const FormDescription& description)
    : clock_(clock)
    , backColor_(description.backColor.resolve(palette()))
    , controls_(std::make_unique<FormControls>(*this, clock))
{
    installAccessibleForms();
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
        | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(description.caption);
    setFixedSize(description.clientWidth, description.clientHeight);
    if (!description.iconPath.isEmpty())
        setWindowIcon(loadIcon(description.iconPath));
    setFont(makeFont(description.font));
    // Keys come one by one as typed: the window takes no input-method composition.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // Its paint fills all it is asked to, so Qt need not fill the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

Form::~Form() = default;

void Form::open()
{
    controls_->raiseEvent([this] { Form_Load(); });
    if (ended_)
        return;
    // Centred once, frame and title bar included, before the player can see or move it. Where
    // the window manager does not tell its frame beforehand, the client area is centred.
    const QMargins frame = expectedFrame(*this);
    const QRect framed
        = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size().grownBy(frame), screen()->availableGeometry());
    setGeometry(QRect(framed.topLeft() + QPoint(frame.left(), frame.top()), size()));
    show();
    controls_->focusFirstButton();
}

void Form::unload()
{
    end(0);
}

void Form::readAsOneText(const Label& cell0, const Label& label, const Line& caret, const Timer& blink)
{
    controls_->accessibles().readAsOneText(cell0, label, caret, blink);
}

void Form::describe(const CommandButton& button, std::vector<const Label*> labels)
{
    controls_->accessibles().describe(*button.widget(), std::move(labels));
}

void Form::end(int exitCode)
{
    if (ended_)
        return;
    ended_ = true;
    controls_->stopTimers();
    hide();
    emit unloaded(exitCode);
}

// Tab moves among the buttons that can take the focus, in order of tab index. (Qt's own focus
// chain follows creation order, and its reordering misses some cases.)
bool Form::focusNextPrevChild(bool next)
{
    const std::vector<QWidget*> focusable = controls_->focusableButtons();
    if (focusable.empty())
        return false;
    const auto count = static_cast<std::ptrdiff_t>(focusable.size());
    const auto current = std::ranges::find(focusable, focusWidget()) - focusable.begin();
    const std::ptrdiff_t target
        = current == count ? (next ? 0 : count - 1) : (current + (next ? 1 : count - 1)) % count;
    controls_->giveFocus(focusable[static_cast<std::size_t>(target)]);
    return true;
}

// The controls' changes are all made when the repaint that the first of them asked for begins.
bool Form::event(QEvent* event)
{
    if (event->type() == QEvent::UpdateRequest)
        controls_->finishChanges();
    return QWidget::event(event);
}

void Form::paintEvent(QPaintEvent* event)
{
    if (!controlsPrepared_) {
        controlsPrepared_ = true;
        // Once the first frame has been sent, while the player takes it in.
        QTimer::singleShot(0, this, [this] {
            for (GraphicControl* control : controls_->graphics())
                control->prepare();
        });
    }
    QPainter painter(this);
    painter.fillRect(event->rect(), backColor_);
    const auto& graphics = controls_->graphics();
    // The region, not its bounding rectangle: a change that repaints a cell and the caret
    // beyond it need not draw what lies between them, which the paint would clip away anyway.
    const QRegion& region = event->region();
    for (auto it = graphics.rbegin(); it != graphics.rend(); ++it) {
        const GraphicControl* control = *it;
        if (control->isVisible() && region.intersects(control->bounds()))
            control->paint(painter, palette());
    }
}

void Form::keyPressEvent(QKeyEvent* event)
{
    previewKey(*event);
}

bool Form::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        previewKey(static_cast<const QKeyEvent&>(*event));
        // After an error has ended the program, the key must not click anything.
        return ended_;
    }
    if (event->type() == QEvent::FocusOut)
        controls_->accessibles().focusLeft(*watched);
    return QWidget::eventFilter(watched, event);
}

void Form::previewKey(const QKeyEvent& event)
{
    for (const Int16 code : characterCodes(event)) {
        controls_->raiseEvent([&] { Form_KeyPress(code); }, true);
    }
}

void Form::closeEvent(QCloseEvent* event)
{
    end(0);
    event->accept();
}

} // namespace rt
