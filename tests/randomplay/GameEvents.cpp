// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameEvents.h"

#include <tests/game/GameFixture.h>
#include <tests/shared/Keyboard.h>

#include <QMetaEnum>

#include <initializer_list>
#include <random>
#include <utility>

namespace play {

namespace {

std::size_t pickWeighted(const Chooser& below, std::initializer_list<std::uint32_t> weights)
{
    std::uint32_t total = 0;
    for (const std::uint32_t weight : weights)
        total += weight;
    std::uint32_t ticket = below(total);
    std::size_t index = 0;
    for (const std::uint32_t weight : weights) {
        if (ticket < weight)
            return index;
        ticket -= weight;
        ++index;
    }
    return index - 1;
}

char16_t pickFrom(const Chooser& below, std::u16string_view units)
{
    return units[below(static_cast<std::uint32_t>(units.size()))];
}

// Characters that are no letters A-Z although some look like one or upper-case into one
// under other case rules: dotless and dotted i, long s, Kelvin sign, sharp s, accented letters.
constexpr std::u16string_view lookAlikes = u"\u0131\u0130\u017F\u212A\u00DF\u1E9E\u00E9\u00C0\u00FF\u0101\u01C4";
constexpr std::u16string_view punctuation = u" !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";

char16_t drawUnit(const Chooser& below)
{
    // Ranges of units, first and count: small letters, capitals, digits, (punctuation, look-alikes),
    // Latin-1 and Latin Extended, full-width forms, Chinese, a lone surrogate half, (the ends of
    // the range), control codes, any unit.
    static constexpr std::pair<char16_t, std::uint32_t> ranges[] = {{u'a', 26}, {u'A', 26}, {u'0', 10}, {}, {},
        {0x00C0, 0x0190}, {0xFF01, 0x5E}, {0x4E00, 0x51A6}, {0xD800, 0x0800}, {}, {0, 0x20}, {0, 0x10000}};
    const std::size_t pick = pickWeighted(below, {12, 12, 4, 6, 4, 3, 3, 3, 3, 2, 2, 4});
    if (pick == 3 || pick == 4)
        return pickFrom(below, pick == 3 ? punctuation : lookAlikes);
    if (pick == 9)
        return below(2) == 0 ? u'\0' : u'\xFFFF';
    return static_cast<char16_t>(ranges[pick].first + below(ranges[pick].second));
}

KeyPress typed(char16_t unit)
{
    return {keys::keyFor(QChar(unit)), std::u16string(1, unit)};
}

// Text that arrives without a key of its own: a paste, an input method's commit.
KeyPress pasted(const Chooser& below, std::uint32_t length)
{
    KeyPress key{Qt::Key_unknown, u""};
    for (std::uint32_t i = 0; i < length; ++i)
        key.text += drawUnit(below);
    return key;
}

// Keys that type no character.
constexpr int silentKeys[] = {Qt::Key_F1, Qt::Key_F10, Qt::Key_Shift, Qt::Key_Control, Qt::Key_Home, Qt::Key_Delete,
    Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};

KeyPress drawPress(const Chooser& below)
{
    // Backspace, Return, Enter, Space, Tab, Backtab, Escape.
    static const KeyPress fixed[] = {typed(u'\b'), typed(u'\r'), {Qt::Key_Enter, u"\r"}, typed(u' '), typed(u'\t'),
        {Qt::Key_Backtab, u""}, typed(u'\x1b')};
    const std::size_t pick = pickWeighted(below, {30, 10, 4, 1, 4, 1, 1, 1, 2, 16, 4, 2});
    if (pick >= 1 && pick <= std::size(fixed))
        return fixed[pick - 1];
    switch (pick) {
    case 0:
        return typed(static_cast<char16_t>((below(2) == 0 ? u'a' : u'A') + below(26)));
    case 8:
        return {silentKeys[below(std::size(silentKeys))], u""};
    case 9:
        return typed(drawUnit(below));
    case 10:
        return pasted(below, 2 + below(11));
    default: // a character beyond 16 bits, as a surrogate pair
        return {Qt::Key_unknown,
            {static_cast<char16_t>(0xD800 + below(0x400)), static_cast<char16_t>(0xDC00 + below(0x400))}};
    }
}

KeyPress drawKey(const Chooser& below)
{
    KeyPress key = drawPress(below);
    key.autoRepeat = below(10) == 0;
    return key;
}

Advance drawAdvance(const Chooser& below)
{
    // Steps of these lengths, about a tick's, below a second, below five, or of minutes.
    static constexpr int exact[] = {0, 1, 499, 500, 501};
    const std::size_t pick = pickWeighted(below, {3, 3, 2, 6, 2, 8, 6, 1});
    if (pick < std::size(exact))
        return {exact[pick]};
    return {pick == 5   ? static_cast<int>(below(1000))
            : pick == 6 ? static_cast<int>(below(5000))
                        : 10'000 + static_cast<int>(below(600'000))};
}

Click drawClick(const Chooser& below)
{
    // Exit ends the sequence, so it comes rarely.
    static constexpr Button buttons[] = {Button::Start, Button::Restart, Button::Exit};
    return {buttons[pickWeighted(below, {40, 20, 1})]};
}

QString escaped(const std::u16string& text)
{
    QString code;
    bool afterEscape = false;
    for (const char16_t unit : text) {
        const bool plain = unit >= u' ' && unit <= u'~' && unit != u'"' && unit != u'\\'
            && !(afterEscape && QChar(unit).isLetterOrNumber());
        code += plain ? QString(QChar(unit)) : QStringLiteral("\\x%1").arg(int(unit), 4, 16, QLatin1Char('0'));
        afterEscape = !plain;
    }
    return code;
}

} // namespace

rt::CommandButton& buttonOf(Button button, frmMain& form)
{
    rt::CommandButton* const buttons[] = {&form.cmdStart, &form.cmdRestart, &form.cmdExit};
    return *buttons[static_cast<int>(button)];
}

Event drawEvent(const Chooser& below, Mix mix)
{
    if (mix == Mix::Climb) {
        switch (pickWeighted(below, {45, 45, 6, 4})) {
        case 0:
            return Advance{1000 + static_cast<int>(below(240'000))};
        case 1:
            return TypeAnswer{};
        case 2:
            return pasted(below, 1 + below(3));
        default:
            return Click{Button::Start};
        }
    }
    switch (pickWeighted(below, {50, 30, 8, 12})) {
    case 0:
        return drawKey(below);
    case 1:
        return drawAdvance(below);
    case 2:
        return drawClick(below);
    default:
        return TypeAnswer{};
    }
}

Sequence drawSequence(std::uint64_t seed, Mix mix, int length)
{
    std::mt19937_64 engine(seed);
    const Chooser below = [&engine](std::uint32_t bound) { return static_cast<std::uint32_t>(engine() % bound); };
    Sequence events;
    events.reserve(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i)
        events.push_back(drawEvent(below, mix));
    return events;
}

std::vector<KeyPress> keysOf(const Event& event, GameFixture& game)
{
    if (const auto* key = std::get_if<KeyPress>(&event))
        return {*key};
    if (!std::holds_alternative<TypeAnswer>(event))
        return {};
    const frmMain& form = game.form();
    std::vector<KeyPress> keys(static_cast<std::size_t>(form.inputPos.value()), typed(u'\b'));
    for (const QChar letter : game.shownLetters().toLower())
        keys.push_back(typed(letter.unicode()));
    return keys;
}

void apply(const Event& event, GameFixture& game)
{
    if (const auto* click = std::get_if<Click>(&event))
        game.click(buttonOf(click->button, game.form()));
    if (const auto* advance = std::get_if<Advance>(&event))
        game.advance(std::chrono::milliseconds(advance->milliseconds));
    for (const KeyPress& key : keysOf(event, game))
        game.pressKey(Qt::Key(key.key), QString::fromStdU16String(key.text), key.autoRepeat);
}

QString toCode(const Event& event)
{
    static const char* const buttons[] = {"Start", "Restart", "Exit"};
    if (const auto* key = std::get_if<KeyPress>(&event)) {
        const char* name = QMetaEnum::fromType<Qt::Key>().valueToKey(key->key);
        return QStringLiteral("KeyPress{%1, u\"%2\"%3}")
            .arg(name ? QStringLiteral("Qt::") + QLatin1String(name) : QString::number(key->key), escaped(key->text),
                key->autoRepeat ? QStringLiteral(", true") : QString());
    }
    if (const auto* click = std::get_if<Click>(&event))
        return QStringLiteral("Click{Button::%1}").arg(QLatin1String(buttons[static_cast<int>(click->button)]));
    if (const auto* advance = std::get_if<Advance>(&event))
        return QStringLiteral("Advance{%1}").arg(advance->milliseconds);
    return QStringLiteral("TypeAnswer{}");
}

QString toCode(const Sequence& events)
{
    QStringList parts;
    for (const Event& event : events)
        parts.append(toCode(event));
    return QStringLiteral("{") + parts.join(QStringLiteral(", ")) + QStringLiteral("}");
}

} // namespace play
