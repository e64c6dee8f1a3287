// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form.h"

#include "FormControls.h"

#include <runtime/values/KeyCodes.h>

#include <QCloseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace rt {

FormControls& controlsOf(Form& form)
{
    return *form.controls_;
}

Form::Form(Clock& clock, const FormDescription& description)
    : clock_(clock)
    , backColor_(description.backColor.resolve(palette()))
    , controls_(std::make_unique<FormControls>(*this, clock, [this](int exitCode) {
        hide();
        emit unloaded(exitCode);
    }))
{
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

void Form::open(const Show& show)
{
    controls_->raiseEvent([this] { Form_Load(); }, EventKind::Load);
    if (isUnloaded())
        return;
    // Centred once, before the player can see or move it.
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry()));
    show ? show(*this) : QWidget::show();
    controls_->focusFirstButton();
}

bool Form::isUnloaded() const
{
    return controls_->isEnded();
}

const Canvas::Graphics& Form::graphics() const
{
    return controls_->canvas().graphics();
}

std::vector<QWidget*> Form::buttonsInTabOrder() const
{
    return controls_->buttonsInTabOrder();
}

void Form::addObserver(FormObserver* observer)
{
    controls_->addObserver(observer);
}

void Form::removeObserver(FormObserver* observer)
{
    controls_->removeObserver(observer);
}

void Form::setErrorReporter(ErrorReporter reporter)
{
    controls_->setErrorReporter(std::move(reporter));
}

Random& Form::random()
{
    return controls_->random();
}

void Form::raiseEvent(const std::function<void()>& handler, EventKind kind)
{
    controls_->raiseEvent(handler, kind);
}

void Form::unload()
{
    controls_->end(0);
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
        controls_->canvas().finishChanges();
    return QWidget::event(event);
}

void Form::paintEvent(QPaintEvent* event)
{
    if (!controlsPrepared_) {
        controlsPrepared_ = true;
        // Once the first frame has been sent, while the player takes it in.
        QTimer::singleShot(0, this, [this] {
            for (GraphicControl* control : graphics())
                control->prepare();
        });
    }
    QPainter painter(this);
    painter.fillRect(event->rect(), backColor_);
    const Canvas::Graphics& controls = graphics();
    // The region, not its bounding rectangle: a change that repaints a cell and the caret
    // beyond it need not draw what lies between them, which the paint would clip away anyway.
    const QRegion& region = event->region();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
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
        return isUnloaded();
    }
    return QWidget::eventFilter(watched, event);
}

void Form::previewKey(const QKeyEvent& event)
{
    for (const Int16 code : characterCodes(event))
        controls_->raiseEvent([&] { Form_KeyPress(code); }, EventKind::Key);
}

void Form::closeEvent(QCloseEvent* event)
{
    controls_->end(0);
    event->accept();
}

// The window has one size. Where a title bar's box or the window manager maximises it or makes it
// full screen anyway (Qt's own title bar on Wayland offers the box to every window), the state is
// taken back: the window would otherwise move or grow around a form drawn in its corner.
void Form::changeEvent(QEvent* event)
{
    constexpr Qt::WindowStates enlarged = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (event->type() == QEvent::WindowStateChange && (windowState() & enlarged))
        setWindowState(windowState() & ~enlarged);
    QWidget::changeEvent(event);
}

} // namespace rt
