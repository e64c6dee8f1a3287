// SPDX-License-Identifier: GPL-3.0-or-later
#include "RuntimeError.h"

namespace rt {

QString RuntimeError::message() const
{
    switch (kind_) {
    case ErrorKind::Overflow:
        return QStringLiteral("溢出");
    case ErrorKind::SubscriptOutOfRange:
        return QStringLiteral("下标越界");
    case ErrorKind::ElementNotLoaded:
        return QStringLiteral("控件数组元素不存在");
    case ErrorKind::ElementAlreadyLoaded:
        return QStringLiteral("控件数组元素已经加载");
    case ErrorKind::InvalidCall:
        return QStringLiteral("无效的过程调用");
    }
    return {};
}

const char* RuntimeError::what() const noexcept
{
    switch (kind_) {
    case ErrorKind::Overflow:
        return "overflow";
    case ErrorKind::SubscriptOutOfRange:
        return "subscript out of range";
    case ErrorKind::ElementNotLoaded:
        return "control array element not loaded";
    case ErrorKind::ElementAlreadyLoaded:
        return "control array element already loaded";
    case ErrorKind::InvalidCall:
        return "invalid procedure call";
    }
    return "run-time error";
}

void raise(ErrorKind kind)
{
    throw RuntimeError(kind);
}

} // namespace rt
