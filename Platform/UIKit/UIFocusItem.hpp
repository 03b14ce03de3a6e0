#pragma once

#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <optional>

namespace UIKit {

// How strongly an item asks to be the one focused when the focus enters its group.
struct UIFocusGroupPriority {
    static constexpr std::int64_t ignored = 0;
    static constexpr std::int64_t previouslyFocused = 1000;
    static constexpr std::int64_t prioritized = 2000;
};

// A view that takes the keyboard's focus without being a control, a text input or a table (a choice of a
// list). Items of one focus group are one stop for Tab and Shift-Tab, and the arrows move among them.
class UIFocusItem {
public:
    virtual ~UIFocusItem() = default;

    virtual bool canBecomeFocused() const { return true; }
    // Items that answer the same identifier form one group; none stands alone.
    virtual std::optional<Foundation::String> focusGroupIdentifier() const { return std::nullopt; }
    // Entering a group focuses its item of the highest priority, the first in the direction of travel
    // among equals.
    virtual std::int64_t focusGroupPriority() const { return UIFocusGroupPriority::ignored; }
};

} // namespace UIKit
