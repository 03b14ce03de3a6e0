#pragma once

#include "Corvendale/Screens/Settings/SafeForInspectionCDelegate.hpp"
#include "Corvendale/Screens/Settings/SafeForInspectionV.hpp"
#include "Corvendale/Screens/Settings/SafeForInspectionVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsPageC.hpp"

#include "Shared/Model/Settings.Auth.hpp"

#include <optional>

namespace Corvendale {

// The safe-for-inspection page's controller: sets the inspection password once it was typed twice
// alike, removes it, and after either starts a sync so that the account's other devices follow. The
// page is made afresh from the record store's state at every change; the typed texts live here.
class SafeForInspectionC : public SettingsPageC<SafeForInspectionV, SafeForInspectionCDelegate>, public SafeForInspectionVDelegate {
public:
    // The explanation of the mode, naming the biometries the unlock method would otherwise offer.
    static Foundation::String explanationText(Shared::Settings::Auth::Method method);

    bool isCreatingPassword() const { return m_isCreatingPassword; }
    const std::optional<Foundation::String>& entryText() const { return m_entryText; }
    const std::optional<Foundation::String>& reEntryText() const { return m_reEntryText; }

    // None while the mode is activated: the page has no state for it.
    std::optional<SafeForInspectionV::State> makeCurrentState() const;
    void updateView(bool animated) override;

    void didUpdateEntryText(const Foundation::String& entryText, SafeForInspectionV& safeForInspectionV) override;
    void didUpdateReEntryText(const Foundation::String& reEntryText, SafeForInspectionV& safeForInspectionV) override;
    void didSelectAction(SafeForInspectionV& safeForInspectionV) override;
    void didSelectCancel(SafeForInspectionV& safeForInspectionV) override;
    void didSelectDone(SettingsVHeaderV& headerV) override;

protected:
    friend Foundation::Construct;
    using SettingsPageC::SettingsPageC;
    std::shared_ptr<SafeForInspectionV> makePageView() override;
    SafeForInspectionV::Config makeConfig() override;
    // Only what the account's other devices change reaches the page: its own changes re-render it.
    void startObserving() override;

private:
    // Sets or removes the password; false (with "Oops!" shown) when the store refused.
    bool setPassword(const std::optional<Foundation::String>& password);
    void forgetTexts();

    bool m_isCreatingPassword = false;
    std::optional<Foundation::String> m_entryText;
    std::optional<Foundation::String> m_reEntryText;
};

} // namespace Corvendale
