// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <runtime/form/CommandButton.h>
#include <runtime/form/ControlArray.h>
#include <runtime/form/Form.h>
#include <runtime/form/Label.h>
#include <runtime/form/Line.h>
#include <runtime/form/Shape.h>
#include <runtime/form/Timer.h>
#include <runtime/values/Int16.h>
#include <runtime/values/StringArray.h>

// The game's one window. The members below are its description, every control as it stands
// when the window is created, in drawing order: a control listed earlier is drawn above a later
// one. Sizes and positions are client-area pixels.
class frmMain : public rt::Form {
public:
    explicit frmMain(rt::Clock& clock);

    rt::CommandButton cmdExit{*this,
        {.left = 608, .top = 320, .width = 73, .height = 25, .caption = QStringLiteral("退  出"), .tabIndex = 7}};
    rt::CommandButton cmdRestart{*this,
        {.left = 520, .top = 320, .width = 81, .height = 25, .caption = QStringLiteral("从头开始"), .tabIndex = 4}};
    rt::Timer tmrCursor{*this, {.interval = 500, .enabled = false}};
    rt::Timer Timer2{*this, {.interval = 500, .enabled = false}};
    rt::CommandButton cmdStart{
        *this, {.left = 16, .top = 312, .width = 73, .height = 25, .caption = QStringLiteral("开  始"), .tabIndex = 1}};
    rt::Timer Timer1{*this, {.interval = 500, .enabled = false}};
    rt::Line Line1{*this, {.x1 = 16, .y1 = 304, .x2 = 680, .y2 = 304, .borderWidth = 1}};
    rt::Label Label3{*this,
        {.left = 8,
            .top = 176,
            .width = 673,
            .height = 19,
            .caption = QString(),
            .font = songTi(14.25),
            .foreColor = rt::rgb(0, 0, 192),
            .opaque = false,
            .autoSizeWithWordWrap = true}};
    rt::ControlArray<rt::Label> lblLetterWrong{*this, letterCell(16, 208, rt::rgb(255, 0, 0))};
    rt::Label Label2{*this,
        {.left = 8,
            .top = -16,
            .width = 417,
            .height = 89,
            .caption = QStringLiteral("Memory ... ..."),
            .font = palatinoLinotype(48),
            .foreColor = rt::rgb(0, 128, 128),
            .opaque = false}};
    rt::Label Label1{*this,
        {.left = 8,
            .top = 72,
            .width = 673,
            .height = 19,
            .caption = QStringLiteral("label1"),
            .font = songTi(14.25),
            .foreColor = rt::rgb(0, 0, 192),
            .opaque = false,
            .autoSizeWithWordWrap = true}};
    rt::Line linCursor{*this, {.x1 = 24, .y1 = 120, .x2 = 24, .y2 = 160, .borderWidth = 2, .visible = false}};
    rt::ControlArray<rt::Label> lblLetter{*this, letterCell(16, 112, rt::rgb(192, 0, 192))};
    rt::ControlArray<rt::Shape> shpBack{*this, letterShadow(24, 120)};
    rt::ControlArray<rt::Shape> shpBackWrong{*this, letterShadow(24, 216)};

    // The step state.
    rt::Int16 letterCount;
    rt::Int16 inputPos;
    rt::StringArray shownLetters;
    rt::StringArray typedLetters;
    rt::Int16 failedUpper;
    rt::Int16 revealIndex;

    void cmdExit_Click();
    void cmdStart_Click();
    void cmdRestart_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void tmrCursor_Timer();
    void PlaceCursor();

    // Cell positions beyond this one no longer fit a 16-bit coordinate.
    static constexpr int maxLetterCount = 468;

    // The faces the window is described in, each with its free stand-ins.
    static rt::FontDescription songTi(double points);
    static rt::FontDescription timesNewRoman(double points);
    static rt::FontDescription palatinoLinotype(double points);

protected:
    void Form_KeyPress(rt::Int16 keyAscii) override;
    void Form_Load() override;

private:
    // The instruction that the hide tick shows.
    static inline const QString typeFromMemory = QStringLiteral("凭记忆，依次输入刚才显示的字母");

    static rt::LabelDescription letterCell(int left, int top, rt::Color letterColor);
    static rt::ShapeDescription letterShadow(int left, int top);

    void prepareCaptions();
    QString randomLetter();
    void judgeAnswer();
    void continueAfterCorrectAnswer();
    void showCorrection();
};
