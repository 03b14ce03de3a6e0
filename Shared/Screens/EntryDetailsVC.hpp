#pragma once

#include "Shared/Crypto/PasswordGenerator.hpp"
#include "Shared/Model/AppExecutionContext.hpp"
#include "Shared/Screens/EntryDetailsVC.State.hpp"

#include "Platform/UIKit/UIViewController.hpp"

#include <functional>
#include <memory>

namespace Shared {

class EntryDetailsTVC;
class EntryDetailsVCDelegate;
class EntryDetailsVHeaderV;
class PreferenceStore;

// The item details: a header and the rows of the state its owner pushes. It never changes the state
// itself; every action goes to the delegate, which pushes the next state.
class EntryDetailsVC : public UIKit::UIViewController {
public:
    using State = EntryDetailsVCState;
    using ConcealState = EntryDetailsVCConcealState;
    using HistoryVisibility = EntryDetailsVCHistoryVisibility;
    using AutoFillDomainsState = EntryDetailsVCAutoFillDomainsState;
    using BackButtonVisibility = EntryDetailsVCBackButtonVisibility;
    using EmptyLoginFieldsVisibility = EntryDetailsVCEmptyLoginFieldsVisibility;
    using EmptyTOTPFieldVisibility = EntryDetailsVCEmptyTOTPFieldVisibility;

    std::shared_ptr<EntryDetailsVCDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<EntryDetailsVCDelegate>& delegate);

    const State& state() const { return m_state; }
    // Shows the state, reading the item from its store or editing context; an item that is gone shows
    // as such. The completion runs once the rows are in place.
    void update(State state, const AppExecutionContext& appExecutionContext, const std::shared_ptr<PreferenceStore>& preferenceStore,
                const std::shared_ptr<RecordStore>& recordStore, bool isMainWindowPinned, bool animated, std::function<void()> completion);
    // The lighter update after a row was moved by the person: the rows already stand where they should.
    void updateWithoutReloading(State state, const AppExecutionContext& appExecutionContext,
                                const std::shared_ptr<PreferenceStore>& preferenceStore, const std::shared_ptr<RecordStore>& recordStore,
                                bool isMainWindowPinned);
    // Called by the owner after it changed the state, before the update: whatever is being typed ends.
    void stateDidChange();

    void select(const MenuSource& menuSource, bool animated);
    // Where what a row's menu opens anchors: the row while it shows, else the whole screen (none before
    // the screen is loaded).
    std::shared_ptr<UIKit::UIView> sourceView(const MenuSource& menuSource) const;
    void selectNextInput(bool animated);
    void selectPreviousInput(bool animated);
    void selectTOTPSecretKeyInput(bool animated);
    void scrollToTop(bool animated, std::function<void()> completion);

    const std::shared_ptr<EntryDetailsTVC>& entryDetailsTVC() const { return m_entryDetailsTVC; }
    const std::shared_ptr<EntryDetailsVHeaderV>& headerV() const { return m_headerV; }

    void loadView() override;

protected:
    friend Foundation::Construct;
    EntryDetailsVC() = default;
    // Built in code only: stops the program.
    explicit EntryDetailsVC(Foundation::NSCoder& coder);
    void initialize() override;

private:
    std::weak_ptr<EntryDetailsVCDelegate> m_delegate;
    State m_state;
    std::shared_ptr<EntryDetailsTVC> m_entryDetailsTVC;
    std::shared_ptr<EntryDetailsVHeaderV> m_headerV;
    bool m_isMainWindowPinned = false;
    // The inline generator's, as the preference store last had them.
    PasswordGenerator m_generatorSettings;
    // Off when the generator is only offered as a pop-over (the field's menu).
    bool m_showsInlineGenerator = true;
};

} // namespace Shared
