#pragma once

#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Model/Settings.hpp"

namespace Corvendale {

class AppearanceV;

class AppearanceVDelegate : public SettingsV_HeaderV_Delegate {
public:
    virtual void didSelect(Shared::Settings::Appearance::ColorScheme colorScheme, AppearanceV& appearanceV) = 0;
    virtual void didSelect(Shared::Settings::Appearance::DarkModeStyle darkModeStyle, AppearanceV& appearanceV) = 0;
    virtual void didSelect(Shared::Settings::Appearance::FontStyle fontStyle, AppearanceV& appearanceV) = 0;
    virtual void didSelect(Shared::Settings::Appearance::FontSize fontSize, AppearanceV& appearanceV) = 0;
    virtual void didSelect(Shared::Settings::AppIconStyle appIconStyle, AppearanceV& appearanceV) = 0;
};

} // namespace Corvendale
