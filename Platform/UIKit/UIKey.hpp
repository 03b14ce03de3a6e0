#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UIKeyboardHIDUsage.hpp"

namespace UIKit {

// A key of a hardware keyboard as one press reports it.
class UIKey : public Foundation::NSObject {
public:
    // What the key types with its modifiers applied, and without them.
    const Foundation::String& characters() const { return m_characters; }
    const Foundation::String& charactersIgnoringModifiers() const { return m_charactersIgnoringModifiers; }
    UIKeyModifierFlags modifierFlags() const { return m_modifierFlags; }
    UIKeyboardHIDUsage keyCode() const { return m_keyCode; }

protected:
    friend Foundation::Construct;
    UIKey(Foundation::String characters, Foundation::String charactersIgnoringModifiers,
          UIKeyModifierFlags modifierFlags, UIKeyboardHIDUsage keyCode)
        : m_characters(std::move(characters))
        , m_charactersIgnoringModifiers(std::move(charactersIgnoringModifiers))
        , m_modifierFlags(modifierFlags)
        , m_keyCode(keyCode)
    {
    }

private:
    Foundation::String m_characters;
    Foundation::String m_charactersIgnoringModifiers;
    UIKeyModifierFlags m_modifierFlags;
    UIKeyboardHIDUsage m_keyCode;
};

} // namespace UIKit
