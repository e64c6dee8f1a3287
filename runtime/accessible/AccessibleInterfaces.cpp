// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleInterfaces.h"

#include <runtime/form/CommandButton.h>
#include <runtime/form/Form.h>
#include <runtime/form/Label.h>

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextLayout>

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace rt {

namespace {

// Where each form's interfaces are, for the factory that Qt asks.
std::unordered_map<const Form*, FormInterfaces*>& formsRead()
{
    static std::unordered_map<const Form*, FormInterfaces*> forms;
    return forms;
}

// Where a label's character at `offset` is drawn, and which character is drawn at a point, in
// client-area pixels; an empty rectangle and -1 where there is none.
QRect characterRect(const Label& label, int offset)
{
    const QTextLayout& layout = label.textLayout();
    const QTextLine line = layout.lineForTextPosition(offset);
    if (offset >= label.caption().size() || !line.isValid())
        return {};
    const qreal left = line.cursorToX(offset);
    const qreal right = line.cursorToX(offset + 1);
    const QRect character
        = QRectF(left, line.y(), right - left, line.height()).translated(label.bounds().topLeft()).toAlignedRect();
    // A line taller than the label is cut off where the label ends, as it is painted.
    return character & label.bounds();
}

int offsetAt(const Label& label, QPoint point)
{
    const QTextLayout& layout = label.textLayout();
    const QPoint inLabel = point - label.bounds().topLeft();
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (line.rect().contains(inLabel))
            return line.xToCursor(inLabel.x(), QTextLine::CursorOnCharacter);
    }
    return -1;
}

// Text painted on the form, read without a selection and without scrolling.
class AccessibleText : public QAccessibleInterface, public QAccessibleTextInterface {
public:
    explicit AccessibleText(FormInterfaces& interfaces)
        : interfaces_(interfaces)
    {
    }

    // Never outlives the form: the form's interfaces drop it first.
    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return form().windowHandle(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(&form()); }
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

    FormReading& reading() const { return interfaces_.reading(); }
    FormInterfaces& interfaces() const { return interfaces_; }
    Form& form() const { return reading().form(); }
    QRect onScreen(const QRect& clientRect) const
    {
        return clientRect.isEmpty() ? QRect() : clientRect.translated(form().mapToGlobal(QPoint(0, 0)));
    }
    // Shown, and off screen where it lies wholly outside the window.
    QAccessible::State shownState(const QRect& clientRect) const
    {
        QAccessible::State state;
        state.offscreen = !form().rect().intersects(clientRect);
        return state;
    }

private:
    FormInterfaces& interfaces_;
};

// Reads the label that stands at its key; once that has gone, the caption it last had.
class AccessibleLabel : public AccessibleText {
public:
    AccessibleLabel(FormInterfaces& interfaces, LabelKey key)
        : AccessibleText(interfaces)
        , key_(key)
    {
    }

    void setGone(const QString& caption) { lastCaption_ = caption; }
    bool isGone() const { return lastCaption_.has_value(); }

    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? wholeText() : QString(); }
    QRect rect() const override { return label() ? onScreen(label()->bounds()) : QRect(); }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        const Label* shown = label();
        QAccessible::State state = shownState(shown ? shown->bounds() : QRect());
        state.readOnly = true;
        state.invisible = !shown || !shown->isVisible();
        return state;
    }

    using AccessibleText::text;
    QRect characterRect(int offset) const override
    {
        return label() ? onScreen(rt::characterRect(*label(), offset)) : QRect();
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return label() ? offsetAt(*label(), form().mapFromGlobal(point)) : -1;
    }
    int cursorPosition() const override { return 0; }

private:
    const Label* label() const { return lastCaption_ ? nullptr : reading().labelAt(key_); }
    QString wholeText() const override
    {
        if (lastCaption_)
            return *lastCaption_;
        return label() ? label()->caption() : QString();
    }

    LabelKey key_;
    std::optional<QString> lastCaption_;
};

// Its text is the captions of the row's shown cells in index order; its caret is the caret line.
class AccessibleRow : public AccessibleText {
public:
    using AccessibleText::AccessibleText;

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? reading().rowLabel().caption() : QString();
    }
    QRect rect() const override { return onScreen(area()); }
    QAccessible::Role role() const override { return QAccessible::EditableText; }
    QAccessible::State state() const override
    {
        QAccessible::State state = shownState(area());
        state.focusable = true;
        state.focused = reading().rowHasFocus();
        state.editable = reading().rowIsEditable();
        state.readOnly = !state.editable;
        return state;
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override
    {
        if (!(match & QAccessible::Label) || !listed(reading().rowLabel()))
            return {};
        return {{interfaces().label(keyOf(reading().rowLabel())), QAccessible::Label}};
    }

    using AccessibleText::text;
    QRect characterRect(int offset) const override
    {
        for (const Label* cell : reading().rowCells()) {
            if (offset < cell->caption().size())
                return onScreen(rt::characterRect(*cell, offset));
            offset -= static_cast<int>(cell->caption().size());
        }
        return {};
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        const QPoint client = form().mapFromGlobal(point);
        int before = 0;
        for (const Label* cell : reading().rowCells()) {
            if (const int offset = offsetAt(*cell, client); offset >= 0)
                return before + offset;
            before += static_cast<int>(cell->caption().size());
        }
        return -1;
    }
    int cursorPosition() const override { return reading().caretOffset(); }

private:
    QString wholeText() const override { return reading().rowText(); }
    QRect area() const
    {
        QRect area;
        for (const Label* cell : reading().rowCells())
            area |= cell->bounds();
        return area;
    }
};

// The labels a button is labelled by, read as one text: screen readers take a single label for
// a button and read it before the button's name.
class AccessibleButtonLabels : public AccessibleText {
public:
    AccessibleButtonLabels(FormInterfaces& interfaces, const QWidget& button)
        : AccessibleText(interfaces)
        , button_(button)
    {
    }

    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? wholeText() : QString(); }
    QRect rect() const override
    {
        QRect area;
        for (const Label* label : reading().labelsOf(button_))
            area |= label->bounds();
        return onScreen(area);
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        return state;
    }

    using AccessibleText::text;
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    int cursorPosition() const override { return 0; }

private:
    QString wholeText() const override { return captionsOf(reading().labelsOf(button_)); }

    const QWidget& button_;
};

FormInterfaces* interfacesOf(QObject* object)
{
    const auto found = formsRead().find(qobject_cast<Form*>(object));
    return found == formsRead().end() ? nullptr : found->second;
}

// The window named by its caption; its children are what it shows in screen order, then its
// buttons in tab order. Made whenever a client first asks, it reads the form through the wing
// attached at the time; without one, it shows the buttons alone.
class AccessibleForm : public QAccessibleWidget {
public:
    explicit AccessibleForm(Form* form)
        : QAccessibleWidget(form, QAccessible::Window)
    {
    }

    int childCount() const override { return static_cast<int>(shown().size() + buttons().size()); }

    QAccessibleInterface* child(int index) const override
    {
        const std::vector<QAccessibleInterface*> shown = this->shown();
        const std::vector<QWidget*> buttons = this->buttons();
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
        const std::vector<QAccessibleInterface*> shown = this->shown();
        if (const auto found = std::ranges::find(shown, child); found != shown.end())
            return static_cast<int>(found - shown.begin());
        const std::vector<QWidget*> buttons = this->buttons();
        const auto found = std::ranges::find(buttons, child->object());
        return found == buttons.end() ? -1 : static_cast<int>(shown.size() + (found - buttons.begin()));
    }

    QAccessibleInterface* focusChild() const override
    {
        FormInterfaces* interfaces = interfacesOf(widget());
        if (QAccessibleInterface* text = interfaces ? interfaces->focusedText() : nullptr)
            return text;
        return QAccessibleWidget::focusChild();
    }

private:
    std::vector<QAccessibleInterface*> shown() const
    {
        FormInterfaces* interfaces = interfacesOf(widget());
        return interfaces ? interfaces->shownChildren() : std::vector<QAccessibleInterface*>();
    }
    std::vector<QWidget*> buttons() const { return static_cast<Form*>(widget())->buttonsInTabOrder(); }
};

// Spaces that space out the ideographs of a caption are for the eye; read aloud they would be
// pauses or the word "space".
QString spokenCaption(const QString& caption)
{
    static const QRegularExpression padding(QStringLiteral("(?<=\\p{Han})\\s+(?=\\p{Han})"));
    return QString(caption).remove(padding).trimmed();
}

// A push button of a form, named by its caption as it is spoken, described and labelled by the
// labels the form's wing names for it.
class AccessibleButton : public QAccessibleWidget {
public:
    explicit AccessibleButton(QPushButton* button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return spokenCaption(static_cast<QPushButton*>(widget())->text());
        if (t != QAccessible::Description)
            return QAccessibleWidget::text(t);
        FormInterfaces* interfaces = interfacesOf(widget()->parent());
        return interfaces ? interfaces->reading().description(*widget()) : QString();
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override
    {
        FormInterfaces* interfaces = interfacesOf(widget()->parent());
        if (!(match & QAccessible::Label) || !interfaces || interfaces->reading().labelsOf(*widget()).empty())
            return QAccessibleWidget::relations(match);
        return QList<QPair<QAccessibleInterface*, QAccessible::Relation>>{
                   {interfaces->labelsOf(*widget()), QAccessible::Label}}
        + QAccessibleWidget::relations(match);
    }
    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }
    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction())
            static_cast<QPushButton*>(widget())->click();
        else
            QAccessibleWidget::doAction(actionName);
    }
};

// Forms and their buttons are classes of their own, which no other factory knows: asked for them
// first, this one serves them whenever a client first asks, whichever wing is attached then.
QAccessibleInterface* accessibleForm(const QString& className, QObject* object)
{
    if (className == QLatin1StringView(Form::staticMetaObject.className()))
        return new AccessibleForm(static_cast<Form*>(object));
    if (className == QLatin1StringView(CommandButtonWidget::staticMetaObject.className()))
        return new AccessibleButton(static_cast<QPushButton*>(object));
    return nullptr;
}

void installAccessibleForms()
{
    QAccessible::installFactory(accessibleForm);
}
// Before any form exists, so that none is read by another factory first.
Q_COREAPP_STARTUP_FUNCTION(installAccessibleForms)

} // namespace

FormInterfaces::FormInterfaces(FormReading& reading)
    : reading_(reading)
{
    formsRead()[&reading_.form()] = this;
}

FormInterfaces::~FormInterfaces()
{
    formsRead().erase(&reading_.form());
    for (const auto& [key, id] : labels_)
        QAccessible::deleteAccessibleInterface(id);
    for (const auto& [button, id] : buttonLabels_)
        QAccessible::deleteAccessibleInterface(id);
    if (row_)
        QAccessible::deleteAccessibleInterface(row_);
}

QAccessibleInterface* FormInterfaces::label(LabelKey key)
{
    auto [entry, added] = labels_.try_emplace(key, 0);
    if (added)
        entry->second = QAccessible::registerAccessibleInterface(new AccessibleLabel(*this, key));
    return QAccessible::accessibleInterface(entry->second);
}

QAccessibleInterface* FormInterfaces::labelsOf(const QWidget& button)
{
    auto [entry, added] = buttonLabels_.try_emplace(&button, 0);
    if (added)
        entry->second = QAccessible::registerAccessibleInterface(new AccessibleButtonLabels(*this, button));
    return QAccessible::accessibleInterface(entry->second);
}

QAccessibleInterface* FormInterfaces::row()
{
    if (!row_)
        row_ = QAccessible::registerAccessibleInterface(new AccessibleRow(*this));
    return QAccessible::accessibleInterface(row_);
}

void FormInterfaces::renewRow()
{
    if (row_)
        QAccessible::deleteAccessibleInterface(row_);
    row_ = 0;
}

std::vector<QAccessibleInterface*> FormInterfaces::shownChildren()
{
    std::vector<std::pair<QRect, QAccessibleInterface*>> shown;
    for (const Label* label : reading_.listedLabels())
        shown.emplace_back(label->bounds(), this->label(keyOf(*label)));
    if (reading_.hasRow()) {
        const std::vector<const Label*> cells = reading_.rowCells();
        if (!cells.empty() || reading_.rowHasFocus())
            shown.emplace_back(cells.empty() ? reading_.rowCell0().bounds() : cells.front()->bounds(), row());
    }
    std::ranges::stable_sort(shown, [](const auto& a, const auto& b) {
        return std::pair(a.first.top(), a.first.left()) < std::pair(b.first.top(), b.first.left());
    });
    std::vector<QAccessibleInterface*> children;
    for (const auto& entry : shown)
        children.push_back(entry.second);
    return children;
}

QAccessibleInterface* FormInterfaces::focusedText()
{
    return reading_.rowHasFocus() ? row() : nullptr;
}

void FormInterfaces::labelGone(LabelKey key, const QString& caption)
{
    static_cast<AccessibleLabel*>(label(key))->setGone(caption);
}

void FormInterfaces::dropGone()
{
    std::erase_if(labels_, [this](const auto& entry) {
        const auto* label = static_cast<AccessibleLabel*>(QAccessible::accessibleInterface(entry.second));
        if (label->isGone() || !reading_.labelAt(entry.first)) {
            QAccessible::deleteAccessibleInterface(entry.second);
            return true;
        }
        return false;
    });
}

} // namespace rt
