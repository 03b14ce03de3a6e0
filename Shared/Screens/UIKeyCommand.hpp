#pragma once

#include "Platform/Foundation/Selector.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"

#include <memory>

namespace UIKit {
class UIKeyCommand;
}

namespace Shared {

struct UIKeyCommands {
    // init(input:modifierFlags:action:wantsPriorityOverSystemBehavior:): an untitled key command, which
    // shows in no menu.
    static std::shared_ptr<UIKit::UIKeyCommand> withInput(const Foundation::String& input, UIKit::UIKeyModifierFlags modifierFlags,
                                                          Foundation::Selector action, bool wantsPriorityOverSystemBehavior);
};

} // namespace Shared
