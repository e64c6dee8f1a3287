// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <chrono>

// What the game's design says, written once for the tests and the benchmarks. It is written out
// here rather than taken from frmMain, so that the tests compare the program with the design.
// Places and sizes are client-area pixels.
namespace design {

inline const QString windowCaption = QStringLiteral("Korimo");
inline constexpr QSize clientSize(692, 361);

// Every timer ticks at this interval: a reveal, the hide tick, a blink of the caret.
inline constexpr std::chrono::milliseconds tickInterval{500};

// A step shows this many letters at first, one more after each right answer, up to the longest:
// cells beyond it would stand past what a 16-bit position can hold.
inline constexpr int firstStepLength = 3;
inline constexpr int longestStep = 468;

// The letters drawn and typed back.
inline constexpr char16_t firstLetter = u'A';
inline constexpr char16_t lastLetter = u'Z';

// The cells: a square letter box, its shadow square 2 lower and 2 right; the rows' letter boxes'
// tops; cell `i`'s letter box and shadow left edges.
inline constexpr int cellSize = 50;
inline constexpr int shadowOffset = 2;
inline constexpr int displayRowTop = 100;
inline constexpr int correctionRowTop = 220;
inline constexpr auto cellLeft = [](int i) { return 70 * i + 20; };
inline constexpr auto squareLeft = [](int i) { return cellLeft(i) + shadowOffset; };

// The caret: 2 pixels wide, its right column at x, on the left edge of the shadow of the cell that
// the next letter goes to; from y 110 down to 140, that pixel excluded.
inline constexpr auto caretX = squareLeft;
inline constexpr int caretTop = 110;
inline constexpr int caretBottom = 140;
inline constexpr int caretWidth = 2;

// The controls' places: the title's band, the instruction (Label1) and the correction's caption
// (Label3), each one line high, the separator line (one pixel high) and the buttons.
inline constexpr QRect titleBand(8, -16, 417, 89);
inline constexpr QRect instruction(8, 72, 673, 19);
inline constexpr QRect correctionLabel(8, 176, 673, 19);
inline constexpr QRect separator(16, 304, 664, 1);
inline constexpr QRect startButton(16, 312, 73, 25);
inline constexpr QRect restartButton(520, 320, 81, 25);
inline constexpr QRect exitButton(608, 320, 73, 25);

// The window's colours: its client area, the cells' shadows and the caret, the letter box in the
// usual desktop scheme (it follows the scheme's base colour), the title, the instructions, the
// letters shown and the correction.
inline const QColor background(255, 255, 192);
inline const QColor black(0, 0, 0);
inline const QColor white(255, 255, 255);
inline const QColor teal(0, 128, 128);
inline const QColor darkBlue(0, 0, 192);
inline const QColor magenta(192, 0, 192);
inline const QColor red(255, 0, 0);

// The window's texts.
inline const QString title = QStringLiteral("Memory ... ...");
inline const QString startCaption = QStringLiteral("开  始");
inline const QString repeatCaption = QStringLiteral("重复本步");
inline const QString restartCaption = QStringLiteral("从头开始");
inline const QString exitCaption = QStringLiteral("退  出");
inline const QString openingText = QStringLiteral("点击“开始”，记住显示的每个字母");
inline const QString revealText = QStringLiteral("记住下列每个字母");
inline const QString answerText = QStringLiteral("凭记忆，依次输入刚才显示的字母");
inline const QString rightText = QStringLiteral("输入正确，继续下一步测试");
inline const QString failedText = QStringLiteral("输入错误，多数人能记忆七个字母，回车重新进行当前步测试");
inline const QString correctionCaption = QStringLiteral("正确的字母序列应为：");

} // namespace design
