#pragma once

#include "Corvendale/Screens/Settings/ResetCDelegate.hpp"
#include "Corvendale/Screens/Settings/ResetV.hpp"
#include "Corvendale/Screens/Settings/ResetVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsPageC.hpp"

namespace Corvendale {

// The reset page's controller: clearing the local cache waits for the person's confirmation and is
// then its delegate's to do; an account reset goes to the authentication store, whose lock screen
// takes over.
class ResetC : public SettingsPageC<ResetV, ResetCDelegate>, public ResetVDelegate {
public:
    void presentClearLocalCacheConfirmation(bool animated);

    void didSelectClearLocalCache(ResetV& resetV) override;
    void didSelectResetAccount(ResetV& resetV) override;
    void didSelectDone(SettingsVHeaderV& headerV) override;

protected:
    friend Foundation::Construct;
    using SettingsPageC::SettingsPageC;
    std::shared_ptr<ResetV> makePageView() override;
    ResetV::Config makeConfig() override { return {}; }
    // Nothing on the page changes.
    void startObserving() override {}
};

} // namespace Corvendale
