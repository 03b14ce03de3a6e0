#pragma once

#include "Corvendale/Screens/Settings/AppearanceCDelegate.hpp"
#include "Corvendale/Screens/Settings/AppearanceV.hpp"
#include "Corvendale/Screens/Settings/AppearanceVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsPageC.hpp"

namespace Corvendale {

// The appearance page's controller: writes each choice to the preference store. The icon is changed
// through the application first and stored only once the change succeeded.
class AppearanceC : public SettingsPageC<AppearanceV, AppearanceCDelegate>, public AppearanceVDelegate {
public:
    void didSelect(Shared::Settings::Appearance::ColorScheme colorScheme, AppearanceV& appearanceV) override;
    void didSelect(Shared::Settings::Appearance::DarkModeStyle darkModeStyle, AppearanceV& appearanceV) override;
    void didSelect(Shared::Settings::Appearance::FontStyle fontStyle, AppearanceV& appearanceV) override;
    void didSelect(Shared::Settings::Appearance::FontSize fontSize, AppearanceV& appearanceV) override;
    void didSelect(Shared::Settings::AppIconStyle appIconStyle, AppearanceV& appearanceV) override;
    void didSelectDone(SettingsVHeaderV& headerV) override;

protected:
    friend Foundation::Construct;
    using SettingsPageC::SettingsPageC;
    std::shared_ptr<AppearanceV> makePageView() override;
    AppearanceV::Config makeConfig() override;
};

} // namespace Corvendale
