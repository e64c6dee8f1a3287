// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AccessibleInterfaces.h"
#include "FormReading.h"

#include <runtime/form/FormObserver.h>

#include <QMetaObject>
#include <QRect>
#include <QString>

#include <functional>
#include <map>
#include <optional>

namespace rt {

class Form;

// The screen-reader wing of a form: attached from outside, it makes the form an accessible
// window whose children are what it shows, and tells a screen reader what each event changed
// once the event has ended, as things then stand. Text that appears in the form's row of text
// without a key while the window holds the focus is spoken while a screen reader runs: screen
// readers voice only typed text. With no accessibility client active nothing is made, kept or
// sent. Lives no longer than the form.
class FormAccessibles : private FormObserver {
public:
    explicit FormAccessibles(Form& form);
    FormAccessibles(const FormAccessibles&) = delete;
    FormAccessibles& operator=(const FormAccessibles&) = delete;
    ~FormAccessibles();

    // What the form declares for screen readers (FormReading says what each means). When an
    // event moves the focus to a described button, the window says the description itself, ahead
    // of the reader's own words for the button.
    void readAsOneText(const Label& cell0, const Label& label, const Line& caret, const Timer& blink);
    void describe(const CommandButton& button, std::vector<const Label*> labels);
    void labelBy(const CommandButton& button, std::vector<const Label*> labels);

    // Who hears what the window says itself, and whether it must come before what the reader
    // says next; no one until the program or a test says.
    using Speaker = std::function<void(const QString& text, bool aheadOfReader)>;
    void setSpeaker(Speaker speak) { speak_ = std::move(speak); }

private:
    // A label as it stood when the event began.
    struct Before {
        QString caption;
        bool listed;
        QRect bounds;
    };

    void eventBegins(EventKind kind) override;
    void eventEnded(EventKind kind) override;
    void announceLabels();
    void announceRow(bool typed);
    void sayDescriptionOfNewFocus();

    Form& form_;
    FormReading reading_;
    FormInterfaces interfaces_;
    Speaker speak_;
    QMetaObject::Connection focusChanges_;
    // Taken as each event begins while a client is active.
    std::optional<std::map<LabelKey, Before>> before_;
    const QWidget* focusBefore_ = nullptr;
    // The row as last told.
    QString toldText_;
    QString toldName_;
    int toldCaret_ = 0;
    bool toldFocus_ = false;
    bool toldEditable_ = false;
};

// The window's speech through speech-dispatcher, spoken while a screen reader runs.
FormAccessibles::Speaker speechWhileAScreenReaderRuns();

} // namespace rt
