// SPDX-License-Identifier: GPL-3.0-or-later
#include "StringArray.h"

namespace rt {

void StringArray::redim(Int16 upper)
{
    items_.assign(sizeFor(upper), QString());
}

void StringArray::redimPreserve(Int16 upper)
{
    items_.resize(sizeFor(upper));
}

QString& StringArray::operator()(Int16 index)
{
    return items_[checkedIndex(index)];
}

const QString& StringArray::operator()(Int16 index) const
{
    return items_[checkedIndex(index)];
}

Int16 StringArray::upperBound() const
{
    if (items_.empty())
        raise(ErrorKind::SubscriptOutOfRange);
    return static_cast<int>(items_.size()) - 1;
}

std::size_t StringArray::sizeFor(Int16 upper)
{
    if (upper < 0)
        raise(ErrorKind::SubscriptOutOfRange);
    return static_cast<std::size_t>(upper.value()) + 1;
}

std::size_t StringArray::checkedIndex(Int16 index) const
{
    if (index < 0 || static_cast<std::size_t>(index.value()) >= items_.size())
        raise(ErrorKind::SubscriptOutOfRange);
    return static_cast<std::size_t>(index.value());
}

} // namespace rt
