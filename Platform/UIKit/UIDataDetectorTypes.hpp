#pragma once

#include <cstdint>

namespace UIKit {

// The kinds of data a text view turns into links; recorded.
struct UIDataDetectorTypes {
    std::uint64_t rawValue = 0;

    static constexpr UIDataDetectorTypes phoneNumber() { return {1u << 0}; }
    static constexpr UIDataDetectorTypes link() { return {1u << 1}; }
    static constexpr UIDataDetectorTypes address() { return {1u << 2}; }
    static constexpr UIDataDetectorTypes calendarEvent() { return {1u << 3}; }
    static constexpr UIDataDetectorTypes all() { return {~std::uint64_t {0}}; }

    friend constexpr UIDataDetectorTypes operator|(UIDataDetectorTypes lhs, UIDataDetectorTypes rhs)
    {
        return {lhs.rawValue | rhs.rawValue};
    }
    friend constexpr bool operator==(const UIDataDetectorTypes&, const UIDataDetectorTypes&) = default;
};

} // namespace UIKit
