// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <unordered_map>
#include <utility>
#include <vector>

class QObject;
class QWidget;

namespace rt {

class CommandButton;
class Form;
class GraphicControl;
class Label;
class Line;
class Timer;

// Where a label stands among a form's controls: its array's drawing rank and its index. It
// outlives the label, so that what was said of a label can still name it once it is gone.
using LabelKey = std::pair<int, int>;
LabelKey keyOf(const GraphicControl& control);

// A label is listed as a child of the window while it shows some text.
bool listed(const Label& label);
// The labels' captions, read as one text.
QString captionsOf(const std::vector<const Label*>& labels);

// What a screen reader reads of a form beyond each control's own state: a row of labels read as
// one line of text, and the labels that describe a button. It reads the form as it stands.
class FormReading {
public:
    explicit FormReading(Form& form);

    // The labels of cell0's control array, in index order, read as one line of text named by
    // `label`. It holds the focus whenever the window itself does, no button, so that a reader
    // follows (and brailles) every change to it. It takes typing while the caret blinks (`blink`
    // runs), with `caret` standing before the first cell right of it; until then it is read-only
    // and read up to its end.
    void readAsOneText(const Label& cell0, const Label& label, const Line& caret, const Timer& blink);
    // A button's description, and what labels it: the captions of these labels (and of their
    // arrays' elements) that are showing, in this order.
    void describe(const CommandButton& button, std::vector<const Label*> labels);
    void labelBy(const CommandButton& button, std::vector<const Label*> labels);
    // A button whose description the window has said itself carries none until the focus leaves
    // it, so that it is not heard twice.
    void setDescribedAloud(const QObject* button) { describedAloud_ = button; }
    const QObject* describedAloud() const { return describedAloud_; }

    Form& form() const { return form_; }
    const Label* labelAt(LabelKey key) const;
    // The labels listed as the window's children, the row's cells aside, in drawing order.
    std::vector<const Label*> listedLabels() const;
    QString description(const QWidget& button) const;
    std::vector<const Label*> labelsOf(const QWidget& button) const;

    bool hasRow() const { return rowCell0_ != nullptr; }
    bool isInRow(const GraphicControl& control) const;
    const Label& rowCell0() const { return *rowCell0_; }
    const Label& rowLabel() const { return *rowLabel_; }
    // The row's shown cells, in index order.
    std::vector<const Label*> rowCells() const;
    QString rowText() const;
    int caretOffset() const;
    bool rowHasFocus() const;
    bool rowIsEditable() const;
    bool windowHasFocus() const;

private:
    using ButtonLabels = std::unordered_map<const QWidget*, std::vector<const Label*>>;
    std::vector<const Label*> shown(const ButtonLabels& labels, const QWidget& button) const;

    Form& form_;
    ButtonLabels describers_;
    ButtonLabels labellers_;
    const QObject* describedAloud_ = nullptr;
    const Label* rowCell0_ = nullptr;
    const Label* rowLabel_ = nullptr;
    const Line* caret_ = nullptr;
    const Timer* blink_ = nullptr;
};

} // namespace rt
