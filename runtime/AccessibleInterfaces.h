// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleInterface>

namespace rt {

class Form;
class FormAccessibles;
class Label;

// A label the form paints, read as static text: its caption is its name and its text.
QAccessibleInterface* makeAccessibleLabel(const Label& label, Form& form);
// The line of text that a row of labels reads as (FormAccessibles::readAsOneText).
QAccessibleInterface* makeAccessibleRow(FormAccessibles& accessibles, Form& form);

} // namespace rt
