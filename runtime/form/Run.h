// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Form.h"

namespace rt {

// Opens the window and runs the event loop until the window is unloaded. Returns the program's
// exit status: 0 once it was closed or unloaded, 1 after a run-time error, which it reports first.
int openAndRun(Form& form, const Form::Show& show = {});

} // namespace rt
