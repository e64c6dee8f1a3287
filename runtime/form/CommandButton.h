// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>
#include <QString>

#include <functional>

namespace rt {

class Form;
class FormControls;

struct CommandButtonDescription {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QString caption = {};
    int tabIndex = 0;
    bool enabled = true;
    bool visible = true;
};

// What a CommandButton shows: a push button that Enter clicks like Space, of a class of its own so
// that what reads a form can tell its buttons from any other.
class CommandButtonWidget : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A push button that a mouse click, or Enter or Space while it has the focus, clicks.
// It is never a default or cancel button and has no access key.
class CommandButton {
public:
    CommandButton(Form& form, const CommandButtonDescription& description);
    CommandButton(const CommandButton&) = delete;
    CommandButton& operator=(const CommandButton&) = delete;
    ~CommandButton();

    QString caption() const;
    void setCaption(const QString& caption);
    bool isEnabled() const;
    // Disabling the button that holds the focus hands the focus to the window itself, never
    // on to the next button, where Enter or Space would act on a control the user never chose.
    void setEnabled(bool enabled);
    // Only an enabled, visible button can take the focus; otherwise an invalid call.
    void setFocus();
    bool hasFocus() const;

    void onClick(std::function<void()> handler);

    QPushButton* widget() const { return widget_; }

private:
    FormControls& controls_;
    QPushButton* widget_;
    std::function<void()> clickHandler_;
};

} // namespace rt
