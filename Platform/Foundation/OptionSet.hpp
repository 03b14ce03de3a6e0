#pragma once

#include <cstdint>

namespace Foundation {

// A set of flags over an integer: the options of a call, a control's state, a set of traits. The type
// derives from it and names its flags as static members; equal sets have equal raw values.
//
//     struct UIControlState : Foundation::OptionSet<UIControlState> {
//         static constexpr UIControlState highlighted() { return {1u << 0}; }
//     };
template <class Derived, class RawValue = std::uint64_t>
struct OptionSet {
    RawValue rawValue = 0;

    constexpr bool isEmpty() const { return rawValue == 0; }
    // True when every flag of `other` is in the set (the empty set is in every set).
    constexpr bool contains(Derived other) const { return (rawValue & other.rawValue) == other.rawValue; }
    // True when the sets share a flag.
    constexpr bool intersects(Derived other) const { return (rawValue & other.rawValue) != 0; }
    constexpr void insert(Derived other) { rawValue |= other.rawValue; }
    constexpr void remove(Derived other) { rawValue &= ~other.rawValue; }

    friend constexpr Derived operator|(Derived lhs, Derived rhs) { return make(lhs.rawValue | rhs.rawValue); }
    friend constexpr Derived operator&(Derived lhs, Derived rhs) { return make(lhs.rawValue & rhs.rawValue); }
    friend constexpr bool operator==(const OptionSet&, const OptionSet&) = default;

private:
    static constexpr Derived make(RawValue rawValue)
    {
        Derived set {};
        set.rawValue = rawValue;
        return set;
    }
};

} // namespace Foundation
