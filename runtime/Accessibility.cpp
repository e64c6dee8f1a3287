// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accessibility.h"

#include "Form.h"
#include "FormControls.h"
#include "Label.h"

#include <QAccessibleWidget>

#include <algorithm>

namespace rt {

namespace {

// A label the form paints, read as static text: its caption is its name and its text.
class AccessibleLabel : public QAccessibleInterface, public QAccessibleTextInterface {
public:
    AccessibleLabel(const Label& label, Form& form)
        : label_(label)
        , form_(form)
    {
    }

    const Label& label() const { return label_; }

    // Never outlives its label: the form drops it when the label goes.
    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return form_.windowHandle(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(&form_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? label_.caption() : QString(); }
    void setText(QAccessible::Text, const QString&) override { }
    QRect rect() const override { return onScreen(label_.bounds()); }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !label_.isVisible();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
    }

    QString text(int startOffset, int endOffset) const override
    {
        return label_.caption().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(label_.caption().size()); }
    QRect characterRect(int offset) const override { return onScreen(label_.characterRect(offset)); }
    int offsetAtPoint(const QPoint& point) const override { return label_.offsetAt(form_.mapFromGlobal(point)); }
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }
    // Static text: no caret, no selection, nothing to scroll.
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    int selectionCount() const override { return 0; }
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    void scrollToSubstring(int, int) override { }

private:
    QRect onScreen(const QRect& clientRect) const
    {
        return clientRect.isEmpty() ? QRect() : clientRect.translated(form_.mapToGlobal(QPoint(0, 0)));
    }

    const Label& label_;
    Form& form_;
};

void send(QAccessibleInterface* iface, QAccessible::Event type)
{
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
}

} // namespace

// The window named by its caption; its children are its visible labels in drawing order, then
// its buttons.
class AccessibleForm : public QAccessibleWidget {
public:
    explicit AccessibleForm(Form* form)
        : QAccessibleWidget(form, QAccessible::Window)
    {
    }

    int childCount() const override { return labelCount() + QAccessibleWidget::childCount(); }

    QAccessibleInterface* child(int index) const override
    {
        const std::vector<const Label*> labels = controls().visibleLabels();
        if (index < 0 || static_cast<std::size_t>(index) >= labels.size())
            return QAccessibleWidget::child(index - static_cast<int>(labels.size()));
        return controls().accessibles().interfaceFor(*labels[static_cast<std::size_t>(index)]);
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const std::vector<const Label*> labels = controls().visibleLabels();
        if (const auto* label = dynamic_cast<const AccessibleLabel*>(child)) {
            const auto found = std::ranges::find(labels, &label->label());
            return found == labels.end() ? -1 : static_cast<int>(found - labels.begin());
        }
        const int index = QAccessibleWidget::indexOfChild(child);
        return index < 0 ? -1 : static_cast<int>(labels.size()) + index;
    }

private:
    FormControls& controls() const { return FormControls::of(*static_cast<Form*>(widget())); }
    int labelCount() const { return static_cast<int>(controls().visibleLabels().size()); }
};

namespace {

QAccessibleInterface* accessibleForm(const QString& className, QObject* object)
{
    if (className != QLatin1StringView(Form::staticMetaObject.className()))
        return nullptr;
    return new AccessibleForm(static_cast<Form*>(object));
}

} // namespace

void installAccessibleForms()
{
    QAccessible::installFactory(accessibleForm);
}

QAccessibleInterface* LabelAccessibles::interfaceFor(const Label& label)
{
    auto [entry, added] = ids_.try_emplace(&label, 0);
    if (added)
        entry->second = QAccessible::registerAccessibleInterface(new AccessibleLabel(label, form_));
    return QAccessible::accessibleInterface(entry->second);
}

void LabelAccessibles::forget(const GraphicControl& control)
{
    const auto entry = ids_.find(&control);
    if (entry == ids_.end())
        return;
    QAccessible::deleteAccessibleInterface(entry->second);
    ids_.erase(entry);
}

void LabelAccessibles::captionChanged(const Label& label, const QString& before)
{
    if (!QAccessible::isActive() || !label.isVisible() || label.caption() == before)
        return;
    QAccessibleInterface* iface = interfaceFor(label);
    send(iface, QAccessible::NameChanged);
    QAccessibleTextUpdateEvent text(iface, 0, before, label.caption());
    QAccessible::updateAccessibility(&text);
}

void LabelAccessibles::visibilityChanged(const GraphicControl& control)
{
    if (!QAccessible::isActive())
        return;
    const auto* label = dynamic_cast<const Label*>(&control);
    if (!label)
        return;
    QAccessibleInterface* iface = interfaceFor(*label);
    if (label->isVisible()) {
        send(iface, QAccessible::ObjectCreated);
        send(iface, QAccessible::ObjectShow);
    } else {
        send(iface, QAccessible::ObjectHide);
        send(iface, QAccessible::ObjectDestroyed);
    }
}

} // namespace rt
