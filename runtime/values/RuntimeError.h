// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <exception>

namespace rt {

enum class ErrorKind {
    Overflow,
    SubscriptOutOfRange,
    ElementNotLoaded,
    ElementAlreadyLoaded,
    InvalidCall,
};

// Raised by the runtime where a failed operation must end the handler that called it.
// Handlers never catch it: the form reports it once the event returns to the runtime.
class RuntimeError : public std::exception {
public:
    explicit RuntimeError(ErrorKind kind)
        : kind_(kind)
    {
    }

    ErrorKind kind() const { return kind_; }
    QString message() const;
    const char* what() const noexcept override;

private:
    ErrorKind kind_;
};

[[noreturn]] void raise(ErrorKind kind);

} // namespace rt
