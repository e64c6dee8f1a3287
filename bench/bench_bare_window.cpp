// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up baseline: the bare window on its own, as a program.
#include "BareWindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    BareWindow window;
    window.show();
    return QApplication::exec();
}
