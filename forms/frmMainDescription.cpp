// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmMain.h"

rt::LabelDescription frmMain::letterCell(int left, int top, rt::Color letterColor)
{
    return {.left = left,
        .top = top,
        .width = 50,
        .height = 50,
        .caption = QStringLiteral("M"),
        .font = {QStringLiteral("Times New Roman"), 36, 400},
        .foreColor = letterColor,
        .backColor = rt::systemColor(QPalette::Base),
        .opaque = true,
        .alignment = Qt::AlignHCenter,
        .visible = false};
}

rt::ShapeDescription frmMain::letterShadow(int left, int top)
{
    return {.left = left, .top = top, .width = 50, .height = 50, .visible = false};
}

frmMain::frmMain(rt::Clock& clock)
    : rt::Form(clock,
        {.caption = QStringLiteral("Korimo"),
            .clientWidth = 692,
            .clientHeight = 361,
            .backColor = rt::rgb(255, 255, 192),
            .iconPath = QStringLiteral(":/korimo.png")})
{
    cmdExit.onClick([this] { cmdExit_Click(); });
    cmdStart.onClick([this] { cmdStart_Click(); });
    cmdRestart.onClick([this] { cmdRestart_Click(); });
    Timer1.onTimer([this] { Timer1_Timer(); });
    Timer2.onTimer([this] { Timer2_Timer(); });
    tmrCursor.onTimer([this] { tmrCursor_Timer(); });
}
