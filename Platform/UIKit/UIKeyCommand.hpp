#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"

#include <memory>
#include <optional>

namespace UIKit {

// A key with modifiers that a responder offers as a command.
class UIKeyCommand : public Foundation::NSObject {
public:
    const Foundation::String& input() const { return m_input; }
    UIKeyModifierFlags modifierFlags() const { return m_modifierFlags; }
    const std::optional<Foundation::String>& title() const { return m_title; }
    void setTitle(std::optional<Foundation::String> title) { m_title = std::move(title); }

protected:
    friend Foundation::Construct;
    UIKeyCommand(Foundation::String input, UIKeyModifierFlags modifierFlags)
        : m_input(std::move(input))
        , m_modifierFlags(modifierFlags)
    {
    }

private:
    Foundation::String m_input;
    UIKeyModifierFlags m_modifierFlags;
    std::optional<Foundation::String> m_title;
};

} // namespace UIKit
