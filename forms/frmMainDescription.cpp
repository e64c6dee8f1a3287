// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmMain.h"

// "宋体" lays out lines exactly one em high; its stand-in draws taller lines of its own.
rt::FontDescription frmMain::songTi(double points)
{
    return {.face = QStringLiteral("宋体"),
        .points = points,
        .standIns = {QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN")},
        .lineSpacingEm = 1.0};
}

rt::FontDescription frmMain::timesNewRoman(double points)
{
    return {
        .face = QStringLiteral("Times New Roman"), .points = points, .standIns = {QStringLiteral("Liberation Serif")}};
}

rt::FontDescription frmMain::palatinoLinotype(double points)
{
    return {.face = QStringLiteral("Palatino Linotype"), .points = points, .standIns = {QStringLiteral("P052")}};
}

rt::LabelDescription frmMain::letterCell(int left, int top, rt::Color letterColor)
{
    return {.left = left,
        .top = top,
        .width = 50,
        .height = 50,
        .caption = QStringLiteral("M"),
        .font = timesNewRoman(36),
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
            .iconPath = QStringLiteral(":/korimo.png"),
            .font = songTi(9)})
{
    cmdExit.onClick([this] { cmdExit_Click(); });
    cmdStart.onClick([this] { cmdStart_Click(); });
    cmdRestart.onClick([this] { cmdRestart_Click(); });
    Timer1.onTimer([this] { Timer1_Timer(); });
    Timer2.onTimer([this] { Timer2_Timer(); });
    tmrCursor.onTimer([this] { tmrCursor_Timer(); });
    prepareCaptions();
}
