#include "Platform/UIKit/UIKeyCommand.hpp"

#include "Platform/UIKit/UIKey.hpp"

#include <cctype>

namespace UIKit {
namespace {

UIKeyModifierFlags relevant(UIKeyModifierFlags flags)
{
    return flags
        & (UIKeyModifierFlags::shift() | UIKeyModifierFlags::control() | UIKeyModifierFlags::alternate()
           | UIKeyModifierFlags::command());
}

bool sameInput(std::string_view lhs, std::string_view rhs)
{
    if (lhs.size() != rhs.size())
        return false;
    for (std::size_t i = 0; i < lhs.size(); ++i) {
        auto a = static_cast<unsigned char>(lhs[i]);
        auto b = static_cast<unsigned char>(rhs[i]);
        if (a != b && !(a < 0x80 && b < 0x80 && std::tolower(a) == std::tolower(b)))
            return false;
    }
    return true;
}

} // namespace

const Foundation::String& UIKeyCommand::inputUpArrow()
{
    static const Foundation::String input("UIKeyInputUpArrow");
    return input;
}

const Foundation::String& UIKeyCommand::inputDownArrow()
{
    static const Foundation::String input("UIKeyInputDownArrow");
    return input;
}

const Foundation::String& UIKeyCommand::inputLeftArrow()
{
    static const Foundation::String input("UIKeyInputLeftArrow");
    return input;
}

const Foundation::String& UIKeyCommand::inputRightArrow()
{
    static const Foundation::String input("UIKeyInputRightArrow");
    return input;
}

const Foundation::String& UIKeyCommand::inputEscape()
{
    static const Foundation::String input("UIKeyInputEscape");
    return input;
}

const Foundation::String& UIKeyCommand::inputPageUp()
{
    static const Foundation::String input("UIKeyInputPageUp");
    return input;
}

const Foundation::String& UIKeyCommand::inputPageDown()
{
    static const Foundation::String input("UIKeyInputPageDown");
    return input;
}

const Foundation::String& UIKeyCommand::inputHome()
{
    static const Foundation::String input("UIKeyInputHome");
    return input;
}

const Foundation::String& UIKeyCommand::inputEnd()
{
    static const Foundation::String input("UIKeyInputEnd");
    return input;
}


bool UIKeyCommand::matches(const UIKey& key) const
{
    return relevant(key.modifierFlags()) == relevant(m_modifierFlags)
        && sameInput(key.charactersIgnoringModifiers().view(), m_input.view());
}

std::shared_ptr<UICommand> UIKeyCommand::copy() const
{
    auto command = Foundation::make<UIKeyCommand>(title(), action(), m_input, m_modifierFlags, propertyList());
    command->copyValues(*this);
    command->m_wantsPriorityOverSystemBehavior = m_wantsPriorityOverSystemBehavior;
    return command;
}

} // namespace UIKit
