#include "Platform/Terminal/Keyboard.hpp"

#include <curses.h>

#include <map>

namespace Terminal {

std::optional<Keyboard::Key> Keyboard::translate(std::uint32_t code, bool isKeyCode, bool afterEscape)
{
    using UIKit::UIKeyModifierFlags;
    const auto command = afterEscape ? UIKeyModifierFlags::command() : UIKeyModifierFlags();
    if (isKeyCode) {
        static const std::map<std::uint32_t, Key> keys {
            {KEY_UP, {"Up", {}}}, {KEY_DOWN, {"Down", {}}}, {KEY_LEFT, {"Left", {}}}, {KEY_RIGHT, {"Right", {}}},
            {KEY_SR, {"Up", UIKeyModifierFlags::shift()}}, {KEY_SF, {"Down", UIKeyModifierFlags::shift()}},
            {KEY_SLEFT, {"Left", UIKeyModifierFlags::shift()}}, {KEY_SRIGHT, {"Right", UIKeyModifierFlags::shift()}},
            {KEY_HOME, {"Home", {}}}, {KEY_END, {"End", {}}}, {KEY_PPAGE, {"PageUp", {}}}, {KEY_NPAGE, {"PageDown", {}}},
            {KEY_BACKSPACE, {"Delete", {}}}, {KEY_DC, {"Delete", {}}}, {KEY_ENTER, {"Return", {}}},
            {KEY_BTAB, {"Tab", UIKeyModifierFlags::shift()}}, {static_cast<std::uint32_t>(KEY_F(10)), {"F10", {}}},
            {static_cast<std::uint32_t>(KEY_F(22)), {"F10", UIKeyModifierFlags::shift()}}, {menuKeyCode, {"Menu", {}}},
        };
        auto found = keys.find(code);
        if (found == keys.end())
            return std::nullopt;
        auto key = found->second;
        key.modifiers = key.modifiers | command;
        return key;
    }
    switch (code) {
    case '\t':
        return Key {"Tab", command};
    case '\n':
    case '\r':
        return Key {"Return", command};
    case 27:
        return Key {"Escape", {}};
    case 127:
    case 8:
        return Key {"Delete", command};
    case ' ':
        return Key {"Space", command};
    default:
        break;
    }
    // Ctrl with a letter is Command; with Alt as well, Command-Option.
    if (code >= 1 && code <= 26)
        return Key {Foundation::String(std::string(1, static_cast<char>('a' + code - 1))),
                    afterEscape ? UIKeyModifierFlags::command() | UIKeyModifierFlags::alternate() : UIKeyModifierFlags::command()};
    if (code < 32 || (code >= 0x7f && code < 0xa0) || code > 0x10ffff)
        return std::nullopt;
    return Key {Foundation::String(Foundation::Character(static_cast<char32_t>(code)).utf8()), command};
}

} // namespace Terminal
