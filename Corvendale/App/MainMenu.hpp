#pragma once

#include "Corvendale/App/MainMenuIdentifier.hpp"

#include "Shared/Model/Biometry.hpp"

#include "Platform/Foundation/String.hpp"

#include <memory>

namespace Shared {
class PreferenceStore;
class RecordStore;
} // namespace Shared

namespace UIKit {
class UIMenuBuilder;
}

namespace Corvendale {

// The menu bar: removes the system menus the program has no use for and adds its own. Items send their
// actions along the responder chain (the main coordinator while unlocked, the lock screen while locked,
// the application's delegate last); enabling and check marks come from those responders' validation,
// except the sort methods', which carry their state from this build. Built again from the system's
// menus after every `UIMenuSystem::main()->setNeedsRebuild()`.
// "Unlock with Touch ID", "Unlock with Face ID" or, for any other kind, "Unlock with Apple Watch".
Foundation::String unlockWithBiometryTitle(Shared::Biometry biometry);

// The sort methods are those of the item list's selected filter, which keeps its own.
void buildMainMenu(UIKit::UIMenuBuilder& builder, Shared::Biometry availableBiometry,
                   const std::shared_ptr<Shared::PreferenceStore>& preferenceStore, const Shared::RecordStore& recordStore);

} // namespace Corvendale
