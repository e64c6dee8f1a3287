// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Int16.h"

#include <QList>

class QKeyEvent;

namespace rt {

// The 16-bit character codes a key event types, in order: one per UTF-16 unit of its text
// (a paste or an input method may send several), or the control code of Backspace, Tab, Enter
// or Escape where the platform sends no text. Keys without a character type nothing, and
// neither do keys held with Alt, Ctrl or Meta.
QList<Int16> characterCodes(const QKeyEvent& event);

} // namespace rt
