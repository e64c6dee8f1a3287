// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up baselines as a program: the bare window, or with --texts the window that draws
// the game's opening texts.
#include "TextsWindow.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const bool texts = QApplication::arguments().contains(QStringLiteral("--texts"));
    const std::unique_ptr<BareWindow> window = texts ? std::make_unique<TextsWindow>() : std::make_unique<BareWindow>();
    window->show();
    return QApplication::exec();
}
