// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameModel.h"

#include <tests/game/GameFixture.h>

#include <QPushButton>

#include <algorithm>

namespace play {

namespace {

using design::tickInterval;

// Enter clicks the focused button on its press, even a repeated one; Space clicks on its
// release, and a held Space does not.
bool clicksFocusedButton(const KeyPress& key)
{
    return key.key == Qt::Key_Return || key.key == Qt::Key_Enter || (key.key == Qt::Key_Space && !key.autoRepeat);
}

// Tab and the arrow keys move the focus among the buttons, as the user means them to.
bool movesFocus(const Event& event)
{
    static constexpr int focusKeys[]
        = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
    const auto* key = std::get_if<KeyPress>(&event);
    return key && std::ranges::find(focusKeys, key->key) != std::end(focusKeys);
}

} // namespace

GameModel::GameModel(GameFixture& game, Paints paints)
    : game_(game)
    , paints_(paints)
{
}

QString GameModel::step(const Event& event)
{
    frmMain& form = game_.form();
    QWidget* const target = game_.focusedWidget();
    expected_.exitMayHaveFocus = (expected_.exitMayHaveFocus && form.cmdExit.hasFocus()) || movesFocus(event);
    const std::vector<KeyPress> keys = keysOf(event, game_);
    expected_.justFailed = false;
    apply(event, game_);
    ++tally_.events;
    if (std::holds_alternative<Advance>(event))
        letTimePass();
    else if (const auto* mouse = std::get_if<Click>(&event); mouse && isEnabled(mouse->button))
        click(mouse->button);
    for (const KeyPress& key : keys)
        press(key, target);
    tally_.longestStep = std::max(tally_.longestStep, expected_.letterCount);
    const QString problems = checkGame(game_, expected_);
    return problems.isEmpty() && paints_ == Paints::Compared && !ended() ? checkPaint(game_) : problems;
}

// Each character the key types reaches the game first; then the key reaches the focused widget.
void GameModel::press(const KeyPress& key, QWidget* target)
{
    if (key.text.empty() && key.key == Qt::Key_Backspace)
        typeCode(u'\b');
    for (const char16_t code : key.text)
        typeCode(code);
    if (!clicksFocusedButton(key))
        return;
    for (const Button button : {Button::Start, Button::Restart, Button::Exit}) {
        if (buttonOf(button, game_.form()).widget() == target && isEnabled(button))
            click(button);
    }
}

void GameModel::typeCode(char16_t code)
{
    if (expected_.phase != Phase::Answering)
        return;
    if (letters::isLetter(code)) {
        expected_.typed += QChar(code).toUpper();
        if (expected_.typed.size() == expected_.letterCount)
            judge();
    } else if (code == u'\b') {
        expected_.typed.chop(1);
    }
}

bool GameModel::isEnabled(Button button) const
{
    const Phase phase = expected_.phase;
    return phase != Phase::Ended && (button == Button::Exit || phase == Phase::Ready || phase == Phase::Failed);
}

void GameModel::click(Button button)
{
    if (button == Button::Exit) {
        expected_.phase = Phase::Ended;
        return;
    }
    if (button == Button::Restart)
        expected_.letterCount = 3;
    startStep();
}

void GameModel::startStep()
{
    expected_.phase = Phase::Presenting;
    expected_.stepStart = game_.clock().now();
    expected_.shown.clear();
    expected_.typed.clear();
}

void GameModel::judge()
{
    if (expected_.typed == expected_.shown) {
        ++tally_.correctAnswers;
        expected_.letterCount = std::min(expected_.letterCount + 1, int(design::longestStep));
        expected_.failedUpper = 0;
        startStep();
    } else {
        ++tally_.wrongAnswers;
        expected_.phase = Phase::Failed;
        expected_.failedUpper = expected_.letterCount - 1;
        expected_.justFailed = true;
        expected_.repeatOffered = true;
    }
}

// The step's letters are all shown and blanked again 500 ms after the last one.
void GameModel::letTimePass()
{
    const auto hideTick = expected_.stepStart + tickInterval * (expected_.letterCount + 1);
    if (expected_.phase == Phase::Presenting && game_.clock().now() >= hideTick) {
        expected_.phase = Phase::Answering;
        expected_.shown = game_.shownLetters();
    }
}

} // namespace play
