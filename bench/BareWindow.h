// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QWidget>

// The baseline: a bare Qt window of the game window's size with one label, which shows the
// text of the last key typed, and a caret-sized bar that can blink as the game's caret does.
class BareWindow : public QWidget {
public:
    BareWindow();

    QLabel& label() { return label_; }
    void startBlinking() { blink_.start(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel label_;
    QFrame caret_;
    QTimer blink_;
};
