// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accessibility.h"

#include "AccessibleInterfaces.h"
#include "Form.h"
#include "FormControls.h"
#include "Label.h"
#include "Line.h"
#include "Speech.h"
#include "Timer.h"

#include <algorithm>

namespace rt {

namespace {

void send(QAccessibleInterface* iface, QAccessible::Event type)
{
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
}

// A label is listed as a child of the window while it shows some text.
bool listed(const Label& label)
{
    return label.isVisible() && !label.caption().isEmpty();
}

// How one text became another: where they differ, what went and what came.
struct TextChange {
    int position;
    QString removed;
    QString inserted;
};

TextChange changeBetween(const QString& before, const QString& after)
{
    const auto common = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < common && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return {static_cast<int>(prefix), before.mid(prefix, before.size() - prefix - suffix),
        after.mid(prefix, after.size() - prefix - suffix)};
}

void send(QAccessibleInterface* iface, const TextChange& change)
{
    if (!change.removed.isEmpty()) {
        QAccessibleTextRemoveEvent event(iface, change.position, change.removed);
        QAccessible::updateAccessibility(&event);
    }
    if (!change.inserted.isEmpty()) {
        QAccessibleTextInsertEvent event(iface, change.position, change.inserted);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace

FormAccessibles::FormAccessibles(Form& form, FormControls& controls)
    : form_(form)
    , controls_(controls)
    , speak_([speech = std::make_shared<Speech>()](const QString& text, bool aheadOfReader) {
        aheadOfReader ? speech->sayFirst(text) : speech->say(text);
    })
{
}

FormAccessibles::~FormAccessibles()
{
    if (rowId_)
        QAccessible::deleteAccessibleInterface(rowId_);
}

void FormAccessibles::readAsOneText(const Label& cell0, const Label& label, const Line& caret, const Timer& blink)
{
    blink_ = &blink;
    rowCell0_ = &cell0;
    rowLabel_ = &label;
    caret_ = &caret;
}

void FormAccessibles::describe(const QWidget& button, std::vector<const Label*> labels)
{
    describers_[&button] = std::move(labels);
}

QAccessibleInterface* FormAccessibles::interfaceFor(const Label& label)
{
    auto [entry, added] = ids_.try_emplace(&label, 0);
    if (added)
        entry->second = QAccessible::registerAccessibleInterface(makeAccessibleLabel(label, form_));
    return QAccessible::accessibleInterface(entry->second);
}

QAccessibleInterface* FormAccessibles::rowInterface()
{
    if (!rowId_)
        rowId_ = QAccessible::registerAccessibleInterface(makeAccessibleRow(*this, form_));
    return QAccessible::accessibleInterface(rowId_);
}

QAccessibleInterface* FormAccessibles::rowLabelInterface()
{
    return rowLabel_ && listed(*rowLabel_) ? interfaceFor(*rowLabel_) : nullptr;
}

std::vector<QAccessibleInterface*> FormAccessibles::shownChildren()
{
    std::vector<std::pair<QRect, QAccessibleInterface*>> shown;
    for (const GraphicControl* control : controls_.graphics()) {
        const auto* label = dynamic_cast<const Label*>(control);
        if (label && !isInRow(*label) && listed(*label))
            shown.emplace_back(label->bounds(), interfaceFor(*label));
    }
    if (rowCell0_) {
        const std::vector<const Label*> cells = rowCells();
        if (!cells.empty() || rowHasFocus())
            shown.emplace_back(cells.empty() ? rowCell0_->bounds() : cells.front()->bounds(), rowInterface());
    }
    std::ranges::stable_sort(shown, [](const auto& a, const auto& b) {
        return std::pair(a.first.top(), a.first.left()) < std::pair(b.first.top(), b.first.left());
    });
    std::vector<QAccessibleInterface*> children;
    for (const auto& entry : shown)
        children.push_back(entry.second);
    return children;
}

QAccessibleInterface* FormAccessibles::focusedText()
{
    return rowHasFocus() ? rowInterface() : nullptr;
}

QString FormAccessibles::description(const QWidget& button) const
{
    const auto describers = describers_.find(&button);
    if (describers == describers_.end() || &button == describedAloud_)
        return {};
    QStringList texts;
    for (const Label* describer : describers->second) {
        for (const GraphicControl* control : controls_.graphics()) {
            const auto* label = dynamic_cast<const Label*>(control);
            if (label && label->drawingRank() == describer->drawingRank() && listed(*label))
                texts << label->caption();
        }
    }
    return texts.join(u' ');
}

bool FormAccessibles::isInRow(const GraphicControl& control) const
{
    return rowCell0_ && control.drawingRank() == rowCell0_->drawingRank();
}

std::vector<const Label*> FormAccessibles::rowCells() const
{
    std::vector<const Label*> cells;
    for (const GraphicControl* control : controls_.graphics()) {
        if (isInRow(*control) && control->isVisible())
            cells.push_back(static_cast<const Label*>(control));
    }
    return cells;
}

QString FormAccessibles::rowText() const
{
    QString text;
    for (const Label* cell : rowCells())
        text += cell->caption();
    return text;
}

int FormAccessibles::caretOffset() const
{
    int offset = 0;
    for (const Label* cell : rowCells()) {
        if (cell->bounds().left() + cell->bounds().width() <= caret_->x1())
            offset += static_cast<int>(cell->caption().size());
    }
    return offset;
}

bool FormAccessibles::rowHasFocus() const
{
    return rowCell0_ && blink_->isEnabled() && windowHasFocus();
}

bool FormAccessibles::windowHasFocus() const
{
    return form_.focusWidget() == &form_;
}

void FormAccessibles::setSpeaker(Speaker speak)
{
    speak_ = std::move(speak);
}

void FormAccessibles::forget(const GraphicControl& control)
{
    if (const auto pending = pendingIndex_.find(&control); pending != pendingIndex_.end()) {
        Before& before = pending_[pending->second];
        if (before.listed) {
            send(interfaceFor(*before.label), QAccessible::ObjectHide);
            send(interfaceFor(*before.label), QAccessible::ObjectDestroyed);
        }
        before.label = nullptr;
        pendingIndex_.erase(pending);
    }
    const auto entry = ids_.find(&control);
    if (entry == ids_.end())
        return;
    QAccessible::deleteAccessibleInterface(entry->second);
    ids_.erase(entry);
}

void FormAccessibles::captionChanged(const Label& label, const QString& before)
{
    if (QAccessible::isActive() && !isInRow(label))
        remember(label, before, label.isVisible());
}

void FormAccessibles::visibilityChanged(const GraphicControl& control)
{
    if (!QAccessible::isActive() || isInRow(control))
        return;
    if (const auto* label = dynamic_cast<const Label*>(&control))
        remember(*label, label->caption(), !label->isVisible());
}

void FormAccessibles::remember(const Label& label, const QString& caption, bool visible)
{
    if (pendingIndex_.try_emplace(&label, pending_.size()).second)
        pending_.push_back({&label, caption, visible && !caption.isEmpty()});
}

void FormAccessibles::announce(bool typed, const QWidget* focusBefore)
{
    if (!QAccessible::isActive())
        return;
    const std::vector<Before> pending = std::exchange(pending_, {});
    pendingIndex_.clear();
    for (const Before& before : pending) {
        if (before.label)
            announce(before);
    }
    if (rowCell0_)
        announceRow(typed);
    sayDescriptionOfNewFocus(focusBefore);
}

// The reader hears of the focus while the handler runs, but can ask what the button is only once
// the event has ended: queued at the speech server by then, the description is heard first.
void FormAccessibles::sayDescriptionOfNewFocus(const QWidget* focusBefore)
{
    const QWidget* focus = form_.focusWidget();
    if (!focus || focus == focusBefore || focus == describedAloud_)
        return;
    if (const QString text = description(*focus); !text.isEmpty()) {
        speak_(text, true);
        describedAloud_ = focus;
    }
}

void FormAccessibles::focusLeft(const QObject& widget)
{
    if (&widget == describedAloud_)
        describedAloud_ = nullptr;
}

void FormAccessibles::announce(const Before& before)
{
    const Label& label = *before.label;
    QAccessibleInterface* iface = interfaceFor(label);
    if (before.listed && listed(label) && before.caption != label.caption()) {
        send(iface, QAccessible::NameChanged);
        QAccessibleTextUpdateEvent text(iface, 0, before.caption, label.caption());
        QAccessible::updateAccessibility(&text);
    } else if (!before.listed && listed(label)) {
        send(iface, QAccessible::ObjectCreated);
        send(iface, QAccessible::ObjectShow);
    } else if (before.listed && !listed(label)) {
        send(iface, QAccessible::ObjectHide);
        send(iface, QAccessible::ObjectDestroyed);
    }
}

void FormAccessibles::announceRow(bool typed)
{
    const bool focused = rowHasFocus();
    const QString text = rowText();
    const int caret = caretOffset();
    const QString name = rowLabel_->caption();
    QAccessibleInterface* row = rowInterface();
    // Its changes go to the reader that follows it, which reads it anew when it takes the focus;
    // a reader that followed the window would otherwise take it for the focus unannounced.
    if (const TextChange change = changeBetween(toldText_, text); text != toldText_) {
        if (focused && toldFocus_)
            send(row, change);
        if (windowHasFocus() && !typed && !change.inserted.isEmpty())
            speak_(change.inserted, false);
    }
    if (focused && !toldFocus_) {
        send(row, QAccessible::Focus);
    } else if (!focused && toldFocus_ && windowHasFocus()) {
        QAccessibleEvent event(&form_, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    } else if (focused) {
        if (caret != toldCaret_) {
            QAccessibleTextCursorEvent event(row, caret);
            QAccessible::updateAccessibility(&event);
        }
        if (name != toldName_)
            send(row, QAccessible::NameChanged);
    }
    toldText_ = text;
    toldCaret_ = caret;
    toldName_ = name;
    toldFocus_ = focused;
}

} // namespace rt
