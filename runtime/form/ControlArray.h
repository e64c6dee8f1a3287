// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <runtime/values/Int16.h>
#include <runtime/values/RuntimeError.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace rt {

class Form;

// Element 0 comes from the form's description and lives as long as the form; elements 1 and up
// are loaded and unloaded by index at run time, each a hidden clone of element 0.
template <class Control> class ControlArray {
public:
    ControlArray(Form& form, const typename Control::Description& description)
    {
        elements_.push_back(std::make_unique<Control>(form, description));
    }

    // The one way to an element: an index that is not loaded is a run-time error.
    Control& operator()(Int16 index) const
    {
        if (!isLoaded(index))
            raise(ErrorKind::ElementNotLoaded);
        return *elements_[static_cast<std::size_t>(index.value())];
    }

    bool isLoaded(Int16 index) const
    {
        return index >= 0 && static_cast<std::size_t>(index.value()) < elements_.size()
            && elements_[static_cast<std::size_t>(index.value())] != nullptr;
    }

    void load(Int16 index)
    {
        if (index < 0)
            raise(ErrorKind::InvalidCall);
        if (isLoaded(index))
            raise(ErrorKind::ElementAlreadyLoaded);
        const auto slot = static_cast<std::size_t>(index.value());
        if (slot >= elements_.size())
            elements_.resize(slot + 1);
        elements_[slot] = std::make_unique<Control>(*elements_.front(), index.value());
    }

    void unload(Int16 index)
    {
        if (index == 0)
            raise(ErrorKind::InvalidCall);
        if (!isLoaded(index))
            raise(ErrorKind::ElementNotLoaded);
        auto& element = elements_[static_cast<std::size_t>(index.value())];
        element->setVisible(false); // repaints where it stood
        element.reset();
        while (elements_.back() == nullptr)
            elements_.pop_back();
    }

    // Number of elements loaded, element 0 included.
    int count() const
    {
        return static_cast<int>(
            std::count_if(elements_.begin(), elements_.end(), [](const auto& e) { return e != nullptr; }));
    }

private:
    std::vector<std::unique_ptr<Control>> elements_;
};

} // namespace rt
