#include "Shared/Screens/UIKeyCommand.hpp"

#include "Platform/UIKit/UIKeyCommand.hpp"

namespace Shared {

std::shared_ptr<UIKit::UIKeyCommand> UIKeyCommands::withInput(const Foundation::String& input, UIKit::UIKeyModifierFlags modifierFlags,
                                                              Foundation::Selector action, bool wantsPriorityOverSystemBehavior)
{
    auto command = Foundation::make<UIKit::UIKeyCommand>(input, modifierFlags, action);
    command->setWantsPriorityOverSystemBehavior(wantsPriorityOverSystemBehavior);
    return command;
}

} // namespace Shared
