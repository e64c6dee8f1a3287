// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <runtime/values/RuntimeError.h>

#include <functional>
#include <optional>

// The run-time error an operation raises, or none.
inline std::optional<rt::ErrorKind> errorOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const rt::RuntimeError& error) {
        return error.kind();
    }
    return std::nullopt;
}
