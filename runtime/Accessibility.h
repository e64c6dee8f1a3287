// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QString>

#include <functional>
#include <unordered_map>
#include <vector>

class QWidget;

namespace rt {

class Form;
class FormControls;
class GraphicControl;
class Label;
class Line;
class Timer;

// Makes every form an accessible window whose children are what it shows, in screen order (top
// to bottom, left to right), then its buttons in tab order. Safe to repeat.
void installAccessibleForms();

// What a screen reader is told of the controls a form paints. Interfaces are made when an
// accessibility client first asks for one and dropped with their control. Changes are told once
// the event that made them has ended, as they then stand; with no client active nothing is made,
// kept or sent.
class FormAccessibles {
public:
    FormAccessibles(Form& form, FormControls& controls);
    FormAccessibles(const FormAccessibles&) = delete;
    FormAccessibles& operator=(const FormAccessibles&) = delete;
    ~FormAccessibles();

    // The labels of cell0's control array, in index order, read as one line of text: named by
    // `label`, with `caret` standing before the first cell right of it. It takes the focus while
    // the caret blinks (`blink` runs) and the window itself holds the focus, no button.
    void readAsOneText(const Label& cell0, const Label& label, const Line& caret, const Timer& blink);
    // A button's description: the captions of these labels (and of their arrays' elements) that
    // are showing, in this order. When an event moves the focus to the button, the window says the
    // description itself, ahead of the reader's own words for the button, and the button then
    // carries none until the focus leaves it, so that it is not heard twice.
    void describe(const QWidget& button, std::vector<const Label*> labels);

    // The window's children before its buttons, top to bottom and left to right.
    std::vector<QAccessibleInterface*> shownChildren();
    QAccessibleInterface* focusedText();
    QString description(const QWidget& button) const;

    void forget(const GraphicControl& control);
    void captionChanged(const Label& label, const QString& before);
    void visibilityChanged(const GraphicControl& control);
    // Tells the changes of the event that has just ended. Text that appears in the line without a
    // key while the window holds the focus is spoken here: screen readers voice only typed text.
    // `focusBefore` is where the focus was when the event began.
    void announce(bool typed, const QWidget* focusBefore);
    void focusLeft(const QObject& widget);
    // Tests hear here what would go to the speech server, and whether it must reach it before
    // what the reader says next.
    using Speaker = std::function<void(const QString& text, bool aheadOfReader)>;
    void setSpeaker(Speaker speak);

    // The pieces that the accessible interfaces read.
    bool isInRow(const GraphicControl& control) const;
    std::vector<const Label*> rowCells() const;
    const Label* rowLabel() const { return rowLabel_; }
    QAccessibleInterface* rowLabelInterface();
    QString rowText() const;
    int caretOffset() const;
    bool rowHasFocus() const;
    bool windowHasFocus() const;

private:
    struct Before {
        const Label* label;
        QString caption;
        bool listed;
    };
    QAccessibleInterface* interfaceFor(const Label& label);
    QAccessibleInterface* rowInterface();
    void remember(const Label& label, const QString& caption, bool visible);
    void announce(const Before& before);
    void announceRow(bool typed);
    void sayDescriptionOfNewFocus(const QWidget* focusBefore);

    Form& form_;
    FormControls& controls_;
    std::unordered_map<const GraphicControl*, QAccessible::Id> ids_;
    std::vector<Before> pending_;
    std::unordered_map<const GraphicControl*, std::size_t> pendingIndex_;
    std::unordered_map<const QWidget*, std::vector<const Label*>> describers_;
    // The focused button whose description the window has said.
    const QObject* describedAloud_ = nullptr;

    const Label* rowCell0_ = nullptr;
    const Label* rowLabel_ = nullptr;
    const Line* caret_ = nullptr;
    const Timer* blink_ = nullptr;
    QAccessible::Id rowId_ = 0;
    // The line as last told.
    QString toldText_;
    QString toldName_;
    int toldCaret_ = 0;
    bool toldFocus_ = false;
    Speaker speak_;
};

} // namespace rt
