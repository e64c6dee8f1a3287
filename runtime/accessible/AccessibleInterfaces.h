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
// label it shows text in, as static text; and the row that reads as one line of text. An
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
    QAccessible::Id row_ = 0;
};

} // namespace rt
