#pragma once

#include <cstdint>

namespace UIKit {

// The modifier keys held with a key, as a set of bits.
struct UIKeyModifierFlags {
    std::int64_t rawValue = 0;

    static constexpr UIKeyModifierFlags alphaShift() { return {1 << 16}; }
    static constexpr UIKeyModifierFlags shift() { return {1 << 17}; }
    static constexpr UIKeyModifierFlags control() { return {1 << 18}; }
    static constexpr UIKeyModifierFlags alternate() { return {1 << 19}; }
    static constexpr UIKeyModifierFlags command() { return {1 << 20}; }
    static constexpr UIKeyModifierFlags numericPad() { return {1 << 21}; }

    constexpr bool isEmpty() const { return rawValue == 0; }
    // True when every flag of `other` is held.
    constexpr bool contains(UIKeyModifierFlags other) const { return (rawValue & other.rawValue) == other.rawValue; }

    friend constexpr UIKeyModifierFlags operator|(UIKeyModifierFlags lhs, UIKeyModifierFlags rhs)
    {
        return {lhs.rawValue | rhs.rawValue};
    }
    friend constexpr UIKeyModifierFlags operator&(UIKeyModifierFlags lhs, UIKeyModifierFlags rhs)
    {
        return {lhs.rawValue & rhs.rawValue};
    }
    friend constexpr bool operator==(const UIKeyModifierFlags&, const UIKeyModifierFlags&) = default;
};

} // namespace UIKit
