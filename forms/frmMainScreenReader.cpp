// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmMainScreenReader.h"

#include "frmMain.h"

#include <runtime/accessible/FormAccessibles.h>

// A blind player must hear or feel each letter as it appears and find the answer's line when it
// is awaited: the display row reads as the line the answer is typed into, named by the
// instruction above it and focused from Start on. After a wrong answer the focus goes to Start:
// labelled by the correction, it puts the right letters on a braille line beside its name, and
// described by the message, which is long for a braille line but heard first.
void declareToScreenReaders(frmMain& form, rt::FormAccessibles& accessibles)
{
    accessibles.readAsOneText(form.lblLetter(0), form.Label1, form.linCursor, form.tmrCursor);
    accessibles.describe(form.cmdStart, {&form.Label1});
    accessibles.labelBy(form.cmdStart, {&form.Label3, &form.lblLetterWrong(0)});
}
