// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyCodes.h"

#include <QKeyEvent>

namespace rt {

namespace {

int controlCode(int key)
{
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    default:
        return 0;
    }
}

Int16 signedCode(char16_t unit)
{
    return static_cast<std::int16_t>(unit);
}

} // namespace

QList<Int16> characterCodes(const QKeyEvent& event)
{
    QList<Int16> codes;
    // With Alt, Ctrl or Meta held a key is a command, whatever text the platform gives it.
    // Shift and Caps Lock still type; so does AltGr, which Qt reports as none of the three.
    if (event.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))
        return codes;
    const QString text = event.text();
    if (text.isEmpty()) {
        if (const int code = controlCode(event.key()))
            codes.append(code);
        return codes;
    }
    for (const QChar unit : text)
        codes.append(signedCode(unit.unicode()));
    return codes;
}

} // namespace rt
