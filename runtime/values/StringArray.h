// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Int16.h"

#include <QString>

#include <vector>

namespace rt {

// A dynamic array of strings with lower bound 0. It has no elements until first redimensioned;
// every access checks the index against the current bounds.
class StringArray {
public:
    // Bounds become 0..upper, every element empty.
    void redim(Int16 upper);
    // Bounds become 0..upper, elements that fit are kept, new ones empty.
    void redimPreserve(Int16 upper);

    QString& operator()(Int16 index);
    const QString& operator()(Int16 index) const;

    bool hasElements() const { return !items_.empty(); }
    Int16 upperBound() const;

private:
    static std::size_t sizeFor(Int16 upper);
    std::size_t checkedIndex(Int16 index) const;

    std::vector<QString> items_;
};

} // namespace rt
