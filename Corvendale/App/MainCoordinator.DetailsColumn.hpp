#pragma once

#include "Corvendale/App/UnexpectedErrorHandling.hpp"

#include "Shared/EntryDetailsVC.State.hpp"

#include "Basalwork/Interface/CoordinatingViewController.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>

namespace Shared {
class EntryDetailsVC;
}

namespace Corvendale {

// MainCoordinator.DetailsColumn: the right-hand column as the main coordinator drives it. It embeds the
// item details screen and applies every state change in one sequence; the screen's own editing requests
// (fields, menus, pickers) belong to the details coordinator that takes its place.
class MainCoordinatorDetailsColumn : public Basalwork::CoordinatingViewController, public UnexpectedErrorHandling {
public:
    using State = Shared::EntryDetailsVCState;

    const std::shared_ptr<Shared::EntryDetailsVC>& entryDetailsVC() const { return m_entryDetailsVC; }
    const State& state() const { return m_state; }

    // Saves first when asked (a failed save keeps the old state), assigns, ends typing outside editing,
    // updates the screen. Throws what the save or the screen update throws.
    void transition(State to, bool saveCurrentEdits, bool becomeFirstResponder, bool animated);
    void updateView(bool animated);
    // Saves the item being edited when it changed, then syncs; nothing outside editing.
    void saveCurrentEdits();
    // Opens the item for editing; failures show "Oops!".
    void transitionToEdit(const Foundation::String& entryID, bool saveCurrentEdits, const std::optional<Foundation::URL>& otpAuthURLToAdd, bool animated);
    // Puts a one-time-password link into the item being edited.
    void attemptToUpdate(const Foundation::URL& otpAuthURL, bool shouldSelectTOTPSecretKeyInput);
    // Done of the header: saves and shows the item.
    void didSelectDone();
    void revealAllSecureFieldsViaOverride();
    void removeConcealOverrides();

    void viewWillAppear(bool animated) override;
    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override;
    bool canBecomeFirstResponder() const override { return true; }

protected:
    friend Foundation::Construct;
    MainCoordinatorDetailsColumn();
    explicit MainCoordinatorDetailsColumn(std::shared_ptr<Shared::EntryDetailsVC> entryDetailsVC);

private:
    std::shared_ptr<Shared::EntryDetailsVC> m_entryDetailsVC;
    State m_state;
};

} // namespace Corvendale
