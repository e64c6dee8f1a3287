// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmMainScreenReader.h"

#include "frmMain.h"

#include <runtime/accessible/FormAccessibles.h>

// A blind player must hear each letter as it appears and find the answer's line when it is
// awaited: the display row reads as the line the answer is typed into, named by the instruction
// above it and focused while the caret blinks. After a wrong answer the focus goes to Start, so
// Start is described by the message and the correction the player must hear.
void declareToScreenReaders(frmMain& form, rt::FormAccessibles& accessibles)
{
    accessibles.readAsOneText(form.lblLetter(0), form.Label1, form.linCursor, form.tmrCursor);
    accessibles.describe(form.cmdStart, {&form.Label1, &form.Label3, &form.lblLetterWrong(0)});
}
