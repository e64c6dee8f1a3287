// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QString>

#include <unordered_map>

namespace rt {

class Form;
class GraphicControl;
class Label;

// Makes every form an accessible window whose children are the visible labels it paints, in
// drawing order, then its buttons. Safe to repeat.
void installAccessibleForms();

// The accessible interfaces of the labels a form paints: made when an accessibility client first
// asks for one, dropped with their label. With no client active nothing is made and nothing sent.
class LabelAccessibles {
public:
    explicit LabelAccessibles(Form& form)
        : form_(form)
    {
    }
    LabelAccessibles(const LabelAccessibles&) = delete;
    LabelAccessibles& operator=(const LabelAccessibles&) = delete;

    QAccessibleInterface* interfaceFor(const Label& label);
    void forget(const GraphicControl& control);

    // A visible label's new caption is its new name and text.
    void captionChanged(const Label& label, const QString& before);
    // A label shown or hidden is a child added to or removed from the window.
    void visibilityChanged(const GraphicControl& control);

private:
    Form& form_;
    std::unordered_map<const GraphicControl*, QAccessible::Id> ids_;
};

} // namespace rt
