#pragma once

#include "Platform/UIKit/UICommand.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"

namespace UIKit {

class UIKey;

// A command with a key equivalent. Key presses are matched against the key commands of the responder
// chain, deepest first, and then against the menu bar's, before the first responder sees them.
class UIKeyCommand : public UICommand {
public:
    // The inputs of keys that type no character.
    static const Foundation::String& inputUpArrow();
    static const Foundation::String& inputDownArrow();
    static const Foundation::String& inputLeftArrow();
    static const Foundation::String& inputRightArrow();
    static const Foundation::String& inputEscape();
    static const Foundation::String& inputPageUp();
    static const Foundation::String& inputPageDown();
    static const Foundation::String& inputHome();
    static const Foundation::String& inputEnd();

    const Foundation::String& input() const { return m_input; }
    UIKeyModifierFlags modifierFlags() const { return m_modifierFlags; }
    // A command without priority leaves the keys a text field types and edits with to the text field
    // while one is editing.
    bool wantsPriorityOverSystemBehavior() const { return m_wantsPriorityOverSystemBehavior; }
    void setWantsPriorityOverSystemBehavior(bool wants) { m_wantsPriorityOverSystemBehavior = wants; }

    // The key is this command's: its input (letters in either case) with exactly these modifiers; Caps
    // Lock and the numeric pad do not count.
    bool matches(const UIKey& key) const;

    std::shared_ptr<UICommand> copy() const override;

protected:
    friend Foundation::Construct;
    // init(input:modifierFlags:action:)
    UIKeyCommand(Foundation::String input, UIKeyModifierFlags modifierFlags, Foundation::Selector action)
        : UICommand("", action)
        , m_input(std::move(input))
        , m_modifierFlags(modifierFlags)
    {
    }
    // init(title:image:action:input:modifierFlags:propertyList:)
    UIKeyCommand(Foundation::String title, Foundation::Selector action, Foundation::String input,
                 UIKeyModifierFlags modifierFlags, std::any propertyList = {})
        : UICommand(std::move(title), action, std::move(propertyList))
        , m_input(std::move(input))
        , m_modifierFlags(modifierFlags)
    {
    }

private:
    Foundation::String m_input;
    UIKeyModifierFlags m_modifierFlags;
    bool m_wantsPriorityOverSystemBehavior = false;
};

} // namespace UIKit
