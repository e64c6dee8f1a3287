// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FormReading.h"

#include <QAccessible>

#include <map>
#include <vector>

namespace rt {

class Form;

// The accessible interfaces of one form: the window, named by its caption, whose children are what
// it shows in screen order (top to bottom, left to right), then its buttons in tab order; each
// label it shows text in, as static text; the row that reads as one line of text; and what
// labels each button, as one static text beside the window's children. An
// interface is made when an accessibility client first asks for it, and reads the form as it
// then stands.
class FormInterfaces {
public:
    explicit FormInterfaces(FormReading& reading);
    FormInterfaces(const FormInterfaces&) = delete;
    FormInterfaces& operator=(const FormInterfaces&) = delete;
    ~FormInterfaces();

    FormReading& reading() const { return reading_; }
    QAccessibleInterface* label(LabelKey key);
    QAccessibleInterface* row();
    // The row is made anew when next asked for.
    void renewRow();
    // What labels a button, read as one text.
    QAccessibleInterface* labelsOf(const QWidget& button);
    // The window's children before its buttons.
    std::vector<QAccessibleInterface*> shownChildren();
    QAccessibleInterface* focusedText();
    // A label that has gone keeps its last caption as its name while what was said of it is told.
    void labelGone(LabelKey key, const QString& caption);
    // Drops the interfaces of labels that have gone.
    void dropGone();

private:
    FormReading& reading_;
    std::map<LabelKey, QAccessible::Id> labels_;
    std::map<const QWidget*, QAccessible::Id> buttonLabels_;
    QAccessible::Id row_ = 0;
};

} // namespace rt
