#pragma once

#include "Platform/Foundation/OptionSet.hpp"

#include <cstdint>

namespace UIKit {

// The kinds of data a text view turns into links; recorded.
struct UIDataDetectorTypes : Foundation::OptionSet<UIDataDetectorTypes> {
    static constexpr UIDataDetectorTypes phoneNumber() { return {1u << 0}; }
    static constexpr UIDataDetectorTypes link() { return {1u << 1}; }
    static constexpr UIDataDetectorTypes address() { return {1u << 2}; }
    static constexpr UIDataDetectorTypes calendarEvent() { return {1u << 3}; }
    static constexpr UIDataDetectorTypes all() { return {~std::uint64_t {0}}; }
};

} // namespace UIKit
