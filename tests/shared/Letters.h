// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <tests/shared/Design.h>

#include <QString>

// Letters and captions as the tests and the benchmarks type and hear them.
namespace letters {

// The keys that type a letter: A–Z, lower case counting as capitals.
constexpr bool isLetter(char16_t code)
{
    const char16_t upper = code >= u'a' && code <= u'z' ? char16_t(code - u'a' + u'A') : code;
    return upper >= design::firstLetter && upper <= design::lastLetter;
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

// A button's caption as a screen reader speaks it: the spaces between its ideographs are for the eye.
inline QString spoken(QString caption)
{
    return caption.remove(u' ');
}

} // namespace letters
