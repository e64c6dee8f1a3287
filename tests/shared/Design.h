// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

#include <chrono>

// What the game's design says, written once for the tests and the benchmarks. It is written out
// here rather than taken from frmMain, so that the tests compare the program with the design.
namespace design {

// Every timer ticks at this interval: a reveal, the hide tick, a blink of the caret.
inline constexpr std::chrono::milliseconds tickInterval{500};

// Client-area y of the letters of the display and the correction row; the squares stand 2 lower.
inline constexpr int displayRowTop = 100;
inline constexpr int correctionRowTop = 220;
// Client-area x of cell `i`'s letter and of its square, which is also where the caret stands
// before that cell.
inline constexpr auto cellLeft = [](int i) { return 70 * i + 20; };
inline constexpr auto squareLeft = [](int i) { return 70 * i + 22; };

// The window's colours: its client area, the cells' boxes and shadows, the title, the
// instructions, the letters shown and the correction.
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
inline const QString failedText = QStringLiteral("输入错误，多数人能记忆七个字母，回车重新进行当前步测试");
inline const QString correctionCaption = QStringLiteral("正确的字母序列应为：");

// A button's caption as a screen reader speaks it: the spaces between its ideographs are for the eye.
inline QString spoken(QString caption)
{
    return caption.remove(u' ');
}

// The keys that type a letter: A–Z, lower case counting as capitals.
constexpr bool isLetter(char16_t code)
{
    return (code >= u'A' && code <= u'Z') || (code >= u'a' && code <= u'z');
}

// A capital that differs from `letter`: the wrong answer at that place.
inline QChar otherLetter(QChar letter)
{
    return QChar(u'A' + (letter.toUpper().unicode() - u'A' + 1) % 26);
}

// An answer that is wrong in every place.
inline QString wrongAnswerFor(const QString& letters)
{
    QString wrong;
    for (const QChar letter : letters)
        wrong += otherLetter(letter);
    return wrong;
}

} // namespace design
