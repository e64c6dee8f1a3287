// SPDX-License-Identifier: GPL-3.0-or-later
// Speech in a build without speech-dispatcher: the window is read by screen readers, not heard.
#include "Speech.h"

namespace rt {

struct Speech::Worker { };

Speech::Speech() = default;
Speech::~Speech() = default;

void Speech::say(const QString&)
{
}

void Speech::sayFirst(const QString&)
{
}

} // namespace rt
