// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormAccessibles.h"

#include "ScreenReaderStatus.h"
#include "Speech.h"

#include <runtime/form/Form.h>
#include <runtime/form/Label.h>

#include <QApplication>

#include <algorithm>
#include <memory>

namespace rt {

namespace {

void send(QAccessibleInterface* iface, QAccessible::Event type)
{
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
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

FormAccessibles::Speaker speechWhileAScreenReaderRuns()
{
    return [speech = std::make_shared<Speech>(), screenReader = std::make_shared<ScreenReaderStatus>()](
               const QString& text, bool aheadOfReader) {
        if (screenReader->runs())
            aheadOfReader ? speech->sayFirst(text) : speech->say(text);
    };
}

FormAccessibles::FormAccessibles(Form& form)
    : form_(form)
    , reading_(form)
    , interfaces_(reading_)
    , speak_([](const QString&, bool) {})
{
    form_.addObserver(this);
    focusChanges_ = QObject::connect(qApp, &QApplication::focusChanged, &form_, [this](QWidget* old, QWidget*) {
        if (old == reading_.describedAloud())
            reading_.setDescribedAloud(nullptr);
    });
}

FormAccessibles::~FormAccessibles()
{
    QObject::disconnect(focusChanges_);
    form_.removeObserver(this);
}

void FormAccessibles::readAsOneText(const Label& cell0, const Label& label, const Line& caret, const Timer& blink)
{
    reading_.readAsOneText(cell0, label, caret, blink);
}

void FormAccessibles::describe(const CommandButton& button, std::vector<const Label*> labels)
{
    reading_.describe(button, std::move(labels));
}

void FormAccessibles::labelBy(const CommandButton& button, std::vector<const Label*> labels)
{
    reading_.labelBy(button, std::move(labels));
}

void FormAccessibles::eventBegins(EventKind)
{
    focusBefore_ = form_.focusWidget();
    before_.reset();
    if (!QAccessible::isActive())
        return;
    before_.emplace();
    for (const GraphicControl* control : form_.graphics()) {
        const auto* label = dynamic_cast<const Label*>(control);
        if (label && !reading_.isInRow(*label))
            before_->emplace(keyOf(*label), Before{label->caption(), listed(*label), label->bounds()});
    }
}

void FormAccessibles::eventEnded(EventKind kind)
{
    if (QAccessible::isActive()) {
        announceLabels();
        if (reading_.hasRow())
            announceRow(kind == EventKind::Key);
        sayDescriptionOfNewFocus();
    }
    before_.reset();
    interfaces_.dropGone();
}

// Each label that appeared, went or changed its text, in screen order, as a reader would come to it.
void FormAccessibles::announceLabels()
{
    if (!before_)
        return;
    struct Change {
        LabelKey key;
        QRect bounds;
        Before before;
        QString caption;
        bool listed;
    };
    std::vector<Change> changes;
    std::map<LabelKey, Before> gone = std::move(*before_);
    for (const GraphicControl* control : form_.graphics()) {
        const auto* label = dynamic_cast<const Label*>(control);
        if (!label || reading_.isInRow(*label))
            continue;
        const auto found = gone.find(keyOf(*label));
        const Before before = found != gone.end() ? found->second : Before{QString(), false, QRect()};
        if (found != gone.end())
            gone.erase(found);
        if (before.listed != listed(*label) || (before.listed && before.caption != label->caption()))
            changes.push_back({keyOf(*label), label->bounds(), before, label->caption(), listed(*label)});
    }
    for (const auto& [key, before] : gone) {
        if (before.listed) {
            interfaces_.labelGone(key, before.caption);
            changes.push_back({key, before.bounds, before, before.caption, false});
        }
    }
    std::ranges::stable_sort(
        changes, {}, [](const Change& change) { return std::pair(change.bounds.top(), change.bounds.left()); });
    for (const Change& change : changes) {
        QAccessibleInterface* label = interfaces_.label(change.key);
        if (change.before.listed && change.listed) {
            send(label, QAccessible::NameChanged);
            QAccessibleTextUpdateEvent text(label, 0, change.before.caption, change.caption);
            QAccessible::updateAccessibility(&text);
        } else if (change.listed) {
            send(label, QAccessible::ObjectCreated);
            send(label, QAccessible::ObjectShow);
        } else {
            send(label, QAccessible::ObjectHide);
            send(label, QAccessible::ObjectDestroyed);
        }
    }
}

// The reader hears of the focus while the handler runs, but can ask what the button is only once
// the event has ended: queued at the speech server by then, the description is heard first.
void FormAccessibles::sayDescriptionOfNewFocus()
{
    const QWidget* focus = form_.focusWidget();
    if (!focus || focus == focusBefore_ || focus == reading_.describedAloud())
        return;
    if (const QString text = reading_.description(*focus); !text.isEmpty()) {
        speak_(text, true);
        reading_.setDescribedAloud(focus);
    }
}

void FormAccessibles::announceRow(bool typed)
{
    const bool focused = reading_.rowHasFocus();
    const QString text = reading_.rowText();
    const int caret = reading_.caretOffset();
    const bool editable = reading_.rowIsEditable();
    const QString name = reading_.rowLabel().caption();
    // A reader takes a line's states once: a line that turns editable, or read-only, is a new one.
    const bool renewed = editable != toldEditable_;
    if (renewed)
        interfaces_.renewRow();
    QAccessibleInterface* row = interfaces_.row();
    // Its changes go to the reader that follows it, which reads it whole as it takes the focus.
    const bool followed = focused && toldFocus_ && !renewed;
    if (const TextChange change = changeBetween(toldText_, text); text != toldText_) {
        if (followed)
            send(row, change);
        if (focused && !typed && !change.inserted.isEmpty())
            speak_(change.inserted, false);
    }
    if (focused && !followed) {
        send(row, QAccessible::Focus);
    } else if (followed) {
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
    toldEditable_ = editable;
}

} // namespace rt
