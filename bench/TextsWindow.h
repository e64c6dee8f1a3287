// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BareWindow.h"

#include <QLabel>
#include <QPushButton>

// The second start-up baseline: the bare window drawing the texts that the game's window opens
// with, in the same faces at the same sizes, with plain Qt widgets. What it takes beyond the
// bare window is what those pixels cost; what the game takes beyond it is the game's own.
class TextsWindow : public BareWindow {
public:
    TextsWindow();

private:
    QLabel title_;
    QPushButton start_;
    QPushButton restart_;
    QPushButton exit_;
};
