// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandButton.h"

#include "FormControls.h"

#include <runtime/values/RuntimeError.h>

#include <QKeyEvent>

namespace rt {

void CommandButtonWidget::keyPressEvent(QKeyEvent* event)
{
    // A plain push button outside a dialog ignores Enter; ours clicks on it like on Space.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        click();
    else
        QPushButton::keyPressEvent(event);
    // The form has previewed this key already; it must not reach the form a second time.
    event->accept();
}

CommandButton::CommandButton(Form& form, const CommandButtonDescription& description)
    : controls_(controlsOf(form))
    , widget_(new CommandButtonWidget(description.caption, &controls_.window()))
{
    widget_->setGeometry(description.left, description.top, description.width, description.height);
    widget_->setAutoDefault(false);
    widget_->setDefault(false);
    widget_->setFont(controls_.window().font());
    widget_->setEnabled(description.enabled);
    widget_->setVisible(description.visible);
    QObject::connect(widget_, &QPushButton::clicked, widget_, [this] {
        if (clickHandler_)
            controls_.raiseEvent(clickHandler_, EventKind::Click);
    });
    controls_.addButton(widget_, description.tabIndex);
}

CommandButton::~CommandButton()
{
    controls_.removeButton(widget_);
    delete widget_;
}

QString CommandButton::caption() const
{
    return widget_->text();
}

void CommandButton::setCaption(const QString& caption)
{
    widget_->setText(caption);
}

bool CommandButton::isEnabled() const
{
    return widget_->isEnabled();
}

void CommandButton::setEnabled(bool enabled)
{
    if (!enabled && hasFocus())
        controls_.takeFocus();
    widget_->setEnabled(enabled);
}

void CommandButton::setFocus()
{
    if (!widget_->isEnabled() || widget_->isHidden())
        raise(ErrorKind::InvalidCall);
    controls_.giveFocus(widget_);
}

bool CommandButton::hasFocus() const
{
    return widget_->window()->focusWidget() == widget_;
}

void CommandButton::onClick(std::function<void()> handler)
{
    clickHandler_ = std::move(handler);
}

} // namespace rt
