// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Int16.h"

#include <QString>

#include <cstdint>

// Conversions between numbers, character codes and strings.
namespace rt {

// Code of the first character; an empty string is an invalid call.
int asc(const QString& text);
// One-character string for a 16-bit code (negative codes stand for 0x8000..0xFFFF).
QString chr(std::int32_t code);
QString chr(Int16 code);
// Locale-independent, like toupper in the C locale: only a-z ever become A-Z.
QString ucase(const QString& text);
// Integer part, rounding towards minus infinity.
double intPart(double value);
// A whole number as a 32-bit integer; outside that range it is an overflow.
std::int32_t toInt32(double value);

} // namespace rt
