#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"

#include <cstdint>
#include <optional>

namespace Terminal {

// What the terminal's keys mean to the kit: a named key ("Up", "Return", "F10", ...) or a character,
// with modifiers. Terminals pass no Command key, so Ctrl with a letter and Alt with any key (Escape
// first) stand for Command, and Ctrl and Alt with a letter for Command-Option; Shift-Tab is Tab with
// Shift, Shift-F10 is F10 with Shift (F22 to the terminal), and a capital letter is the letter with Shift.
struct Keyboard {
    struct Key {
        Foundation::String name;
        UIKit::UIKeyModifierFlags modifiers;
        friend bool operator==(const Key&, const Key&) = default;
    };
    // The key code the display gives the Menu key, which the terminal library has no code for (past the
    // library's own codes).
    static constexpr std::uint32_t menuKeyCode = 01000;

    // `code` is a character when `isKeyCode` is false, else one of the terminal library's key codes;
    // `afterEscape` when Escape came right before it (how terminals send Alt). None for what means
    // nothing here.
    static std::optional<Key> translate(std::uint32_t code, bool isKeyCode, bool afterEscape);
};

} // namespace Terminal
