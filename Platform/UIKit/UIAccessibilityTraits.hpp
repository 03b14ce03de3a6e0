#pragma once

#include "Platform/Foundation/OptionSet.hpp"

#include <cstdint>

namespace UIKit {

// What an element is and what state it is in, for assistive technologies and for the program's driver,
// as a set of flags.
struct UIAccessibilityTraits : Foundation::OptionSet<UIAccessibilityTraits> {
    static constexpr UIAccessibilityTraits none() { return {0}; }
    static constexpr UIAccessibilityTraits button() { return {1u << 0}; }
    static constexpr UIAccessibilityTraits link() { return {1u << 1}; }
    static constexpr UIAccessibilityTraits image() { return {1u << 2}; }
    static constexpr UIAccessibilityTraits selected() { return {1u << 3}; }
    static constexpr UIAccessibilityTraits keyboardKey() { return {1u << 5}; }
    static constexpr UIAccessibilityTraits staticText() { return {1u << 6}; }
    static constexpr UIAccessibilityTraits notEnabled() { return {1u << 8}; }
    static constexpr UIAccessibilityTraits updatesFrequently() { return {1u << 9}; }
    static constexpr UIAccessibilityTraits searchField() { return {1u << 10}; }
    static constexpr UIAccessibilityTraits adjustable() { return {1u << 12}; }
    static constexpr UIAccessibilityTraits tabBar() { return {1u << 15}; }
    static constexpr UIAccessibilityTraits header() { return {1u << 16}; }
};

} // namespace UIKit
