#pragma once

#include "Corvendale/Screens/Settings/AutoFillCDelegate.hpp"
#include "Corvendale/Screens/Settings/AutoFillV.hpp"
#include "Corvendale/Screens/Settings/AutoFillVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsPageC.hpp"

namespace Corvendale {

// The AutoFill page's controller. It follows the record store's AutoFill availability, the copying of
// one-time passwords and whether notifications are allowed; choosing to copy codes also asks for the
// permission to announce them.
class AutoFillC : public SettingsPageC<AutoFillV, AutoFillCDelegate>, public AutoFillVDelegate {
public:
    void didSelect(Shared::Settings::AutoFill::AutoCopyOTP autoCopyOTP, AutoFillVAutoCopyOTPV& autoCopyOTPV) override;
    void didSelectDone(SettingsVHeaderV& headerV) override;

protected:
    friend Foundation::Construct;
    using SettingsPageC::SettingsPageC;
    std::shared_ptr<AutoFillV> makePageView() override;
    AutoFillV::Config makeConfig() override;
    void startObserving() override;
};

} // namespace Corvendale
