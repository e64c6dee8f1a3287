// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RuntimeError.h"

#include <compare>
#include <cstdint>

namespace rt {

// A signed 16-bit integer whose arithmetic raises the overflow error instead of wrapping.
// Built implicitly from int so that literals mix with it; leaves it only explicitly, so that
// an expression of Int16 values can never fall back to unchecked int arithmetic.
class Int16 {
public:
    static constexpr int min = -32768;
    static constexpr int max = 32767;

    constexpr Int16() = default;
    // Implicit on purpose: every int that meets an Int16 is checked on the way in.
    constexpr Int16(int value) // NOLINT(google-explicit-constructor)
        : value_(checked(value))
    {
    }

    constexpr int value() const { return value_; }
    constexpr explicit operator int() const { return value_; }
    constexpr float toSingle() const { return static_cast<float>(value_); }

    friend constexpr Int16 operator+(Int16 a, Int16 b) { return Int16(a.value_ + b.value_); }
    friend constexpr Int16 operator-(Int16 a, Int16 b) { return Int16(a.value_ - b.value_); }
    friend constexpr Int16 operator*(Int16 a, Int16 b) { return Int16(a.value_ * b.value_); }
    constexpr Int16 operator-() const { return Int16(-value_); }
    constexpr Int16& operator++() { return *this = *this + 1; }

    friend constexpr bool operator==(Int16, Int16) = default;
    friend constexpr auto operator<=>(Int16, Int16) = default;

private:
    static constexpr std::int16_t checked(int value)
    {
        if (value < min || value > max)
            raise(ErrorKind::Overflow);
        return static_cast<std::int16_t>(value);
    }

    std::int16_t value_ = 0;
};

} // namespace rt
