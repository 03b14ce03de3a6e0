#pragma once

#include "Platform/Foundation/OptionSet.hpp"

#include <cstdint>

namespace UIKit {

// The modifier keys held with a key, as a set of bits.
struct UIKeyModifierFlags : Foundation::OptionSet<UIKeyModifierFlags, std::int64_t> {
    static constexpr UIKeyModifierFlags alphaShift() { return {1 << 16}; }
    static constexpr UIKeyModifierFlags shift() { return {1 << 17}; }
    static constexpr UIKeyModifierFlags control() { return {1 << 18}; }
    static constexpr UIKeyModifierFlags alternate() { return {1 << 19}; }
    static constexpr UIKeyModifierFlags command() { return {1 << 20}; }
    static constexpr UIKeyModifierFlags numericPad() { return {1 << 21}; }
};

} // namespace UIKit
