// SPDX-License-Identifier: GPL-3.0-or-later
#include "Strings.h"

#include <cmath>
#include <limits>

namespace rt {

int asc(const QString& text)
{
    if (text.isEmpty())
        raise(ErrorKind::InvalidCall);
    return text.front().unicode();
}

QString chr(std::int32_t code)
{
    if (code < Int16::min || code > 0xFFFF)
        raise(ErrorKind::InvalidCall);
    return QString(QChar(static_cast<char16_t>(code & 0xFFFF)));
}

QString chr(Int16 code)
{
    return chr(static_cast<std::int32_t>(code.value()));
}

QString ucase(const QString& text)
{
    QString upper = text;
    for (QChar& c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return upper;
}

double intPart(double value)
{
    return std::floor(value);
}

std::int32_t toInt32(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max()))
        raise(ErrorKind::Overflow);
    return static_cast<std::int32_t>(rounded);
}

} // namespace rt
