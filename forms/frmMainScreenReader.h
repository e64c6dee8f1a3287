// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class frmMain;

namespace rt {
class FormAccessibles;
}

// Tells the screen-reader wing what the window's painted controls mean together.
void declareToScreenReaders(frmMain& form, rt::FormAccessibles& accessibles);
