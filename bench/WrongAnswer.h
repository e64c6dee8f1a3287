// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <forms/frmMain.h>
#include <tests/shared/Keyboard.h>
#include <tests/shared/Letters.h>

// Types a wrong letter into the next place of the answer.
inline void typeWrongLetter(frmMain& form)
{
    const QChar wrong = letters::otherLetter(form.shownLetters(form.inputPos).front());
    keys::send(keys::target(form), QEvent::KeyPress, keys::keyFor(wrong), QString(wrong));
}

// Types a wrong letter into every place of the answer, which ends the step in Failed.
inline void typeWrongAnswer(frmMain& form)
{
    while (form.tmrCursor.isEnabled())
        typeWrongLetter(form);
}
