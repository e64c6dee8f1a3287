// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleInterfaces.h"

#include "Accessibility.h"
#include "CommandButton.h"
#include "Form.h"
#include "FormControls.h"
#include "Label.h"

#include <QAccessibleWidget>
#include <QPushButton>

#include <algorithm>

namespace rt {

namespace {

// Text painted on the form, read without a selection and without scrolling.
class AccessibleText : public QAccessibleInterface, public QAccessibleTextInterface {
public:
    explicit AccessibleText(Form& form)
        : form_(form)
    {
    }

    // Never outlives what it reads: the form drops it first.
    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return form_.windowHandle(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(&form_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override { }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
    }

    QString text(int startOffset, int endOffset) const override
    {
        return wholeText().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(wholeText().size()); }
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }
    void setCursorPosition(int) override { }
    int selectionCount() const override { return 0; }
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    void scrollToSubstring(int, int) override { }

protected:
    virtual QString wholeText() const = 0;

    Form& form() const { return form_; }
    QRect onScreen(const QRect& clientRect) const
    {
        return clientRect.isEmpty() ? QRect() : clientRect.translated(form_.mapToGlobal(QPoint(0, 0)));
    }
    // Shown, and off screen where it lies wholly outside the window.
    QAccessible::State shownState(const QRect& clientRect) const
    {
        QAccessible::State state;
        state.offscreen = !form_.rect().intersects(clientRect);
        return state;
    }

private:
    Form& form_;
};

class AccessibleLabel : public AccessibleText {
public:
    AccessibleLabel(const Label& label, Form& form)
        : AccessibleText(form)
        , label_(label)
    {
    }

    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? label_.caption() : QString(); }
    QRect rect() const override { return onScreen(label_.bounds()); }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State state = shownState(label_.bounds());
        state.readOnly = true;
        state.invisible = !label_.isVisible();
        return state;
    }

    using AccessibleText::text;
    QRect characterRect(int offset) const override { return onScreen(label_.characterRect(offset)); }
    int offsetAtPoint(const QPoint& point) const override { return label_.offsetAt(form().mapFromGlobal(point)); }
    int cursorPosition() const override { return 0; }

private:
    QString wholeText() const override { return label_.caption(); }

    const Label& label_;
};

// Its text is the captions of the row's shown cells in index order; its caret is the caret line.
class AccessibleRow : public AccessibleText {
public:
    AccessibleRow(FormAccessibles& accessibles, Form& form)
        : AccessibleText(form)
        , accessibles_(accessibles)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? accessibles_.rowLabel()->caption() : QString();
    }
    QRect rect() const override { return onScreen(area()); }
    QAccessible::Role role() const override { return QAccessible::EditableText; }
    QAccessible::State state() const override
    {
        QAccessible::State state = shownState(area());
        state.focusable = true;
        state.focused = accessibles_.rowHasFocus();
        state.editable = true;
        return state;
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override
    {
        QAccessibleInterface* label = accessibles_.rowLabelInterface();
        if (!(match & QAccessible::Label) || !label)
            return {};
        return {{label, QAccessible::Label}};
    }

    using AccessibleText::text;
    QRect characterRect(int offset) const override
    {
        for (const Label* cell : accessibles_.rowCells()) {
            if (offset < cell->caption().size())
                return onScreen(cell->characterRect(offset));
            offset -= static_cast<int>(cell->caption().size());
        }
        return {};
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        const QPoint client = form().mapFromGlobal(point);
        int before = 0;
        for (const Label* cell : accessibles_.rowCells()) {
            if (const int offset = cell->offsetAt(client); offset >= 0)
                return before + offset;
            before += static_cast<int>(cell->caption().size());
        }
        return -1;
    }
    int cursorPosition() const override { return accessibles_.caretOffset(); }

private:
    QString wholeText() const override { return accessibles_.rowText(); }
    QRect area() const
    {
        QRect area;
        for (const Label* cell : accessibles_.rowCells())
            area |= cell->bounds();
        return area;
    }

    FormAccessibles& accessibles_;
};

} // namespace

// The window named by its caption; its children are what it shows in screen order, then its
// buttons in tab order.
class AccessibleForm : public QAccessibleWidget {
public:
    explicit AccessibleForm(Form* form)
        : QAccessibleWidget(form, QAccessible::Window)
    {
    }

    static FormControls& controlsOf(Form& form) { return FormControls::of(form); }

    int childCount() const override
    {
        return static_cast<int>(accessibles().shownChildren().size() + controls().buttonsInTabOrder().size());
    }

    QAccessibleInterface* child(int index) const override
    {
        const std::vector<QAccessibleInterface*> shown = accessibles().shownChildren();
        const std::vector<QWidget*> buttons = controls().buttonsInTabOrder();
        if (index < 0)
            return nullptr;
        const auto at = static_cast<std::size_t>(index);
        if (at < shown.size())
            return shown[at];
        return at - shown.size() < buttons.size() ? QAccessible::queryAccessibleInterface(buttons[at - shown.size()])
                                                  : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const std::vector<QAccessibleInterface*> shown = accessibles().shownChildren();
        if (const auto found = std::ranges::find(shown, child); found != shown.end())
            return static_cast<int>(found - shown.begin());
        const std::vector<QWidget*> buttons = controls().buttonsInTabOrder();
        const auto found = std::ranges::find(buttons, child->object());
        return found == buttons.end() ? -1 : static_cast<int>(shown.size() + (found - buttons.begin()));
    }

    QAccessibleInterface* focusChild() const override
    {
        if (QAccessibleInterface* text = accessibles().focusedText())
            return text;
        return QAccessibleWidget::focusChild();
    }

private:
    FormControls& controls() const { return controlsOf(*static_cast<Form*>(widget())); }
    FormAccessibles& accessibles() const { return controls().accessibles(); }
};

namespace {

// A push button of a form, described by the labels the form names for it.
class AccessibleButton : public QAccessibleWidget {
public:
    AccessibleButton(QPushButton* button, Form& form)
        : QAccessibleWidget(button, QAccessible::Button)
        , form_(form)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description)
            return AccessibleForm::controlsOf(form_).accessibles().description(*widget());
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }
    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction())
            static_cast<QPushButton*>(widget())->click();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    Form& form_;
};

QAccessibleInterface* accessibleForm(const QString& className, QObject* object)
{
    if (className == QLatin1StringView(Form::staticMetaObject.className()))
        return new AccessibleForm(static_cast<Form*>(object));
    if (className == QLatin1StringView(QPushButton::staticMetaObject.className())) {
        if (auto* form = qobject_cast<Form*>(object->parent()))
            return new AccessibleButton(static_cast<QPushButton*>(object), *form);
    }
    return nullptr;
}

} // namespace

QAccessibleInterface* makeAccessibleLabel(const Label& label, Form& form)
{
    return new AccessibleLabel(label, form);
}

QAccessibleInterface* makeAccessibleRow(FormAccessibles& accessibles, Form& form)
{
    return new AccessibleRow(accessibles, form);
}

void installAccessibleForms()
{
    QAccessible::installFactory(accessibleForm);
}

} // namespace rt
