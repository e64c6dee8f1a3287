// SPDX-License-Identifier: GPL-3.0-or-later
#include "BareWindow.h"

#include <tests/shared/Design.h>

#include <QKeyEvent>

BareWindow::BareWindow()
    : label_(design::title, this)
    , caret_(this)
{
    setFixedSize(692, 361);
    label_.setGeometry(8, 72, 673, 19);
    caret_.setGeometry(21, 110, 2, 30);
    caret_.setAutoFillBackground(true);
    caret_.setPalette(QPalette(Qt::black));
    blink_.setTimerType(Qt::PreciseTimer);
    blink_.setInterval(design::tickInterval);
    QObject::connect(&blink_, &QTimer::timeout, &caret_, [this] { caret_.setVisible(!caret_.isVisible()); });
}

void BareWindow::keyPressEvent(QKeyEvent* event)
{
    label_.setText(event->text());
}
