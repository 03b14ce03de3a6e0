#include "Corvendale/Screens/Settings/AppearanceV.hpp"

#include "Corvendale/Screens/Settings/AppearanceVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"

#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

using Foundation::String;

AppearanceV::AppearanceV(const std::shared_ptr<AppearanceVDelegate>& delegate)
    : m_delegate(delegate)
{
}

void AppearanceV::initialize()
{
    SettingsPageV::initialize();
    setAccessibilityIdentifier(String("AppearanceV"));
    setupPage();
}

void AppearanceV::setDelegate(const std::shared_ptr<AppearanceVDelegate>& delegate)
{
    m_delegate = delegate;
    headerV()->setDelegate(delegate);
}

void AppearanceV::setupPage()
{
    headerV()->setTitle(String("Appearance"));
    headerV()->setDelegate(m_delegate.lock());
    auto self = sharedSelf(this);
    m_colorSchemeV = addOptionList<Appearance::ColorScheme>(self, String("Choose which color scheme to use:"));
    m_darkModeStyleV = addOptionList<Appearance::DarkModeStyle>(self, String("When using the dark color scheme, how dark is dark enough?"));
    m_fontStyleV = addOptionList<Appearance::FontStyle>(self, String("Choose which font style to use:"));
    m_fontSizeV = addOptionList<Appearance::FontSize>(self, String("Choose which font size to use:"));
    m_appIconStyleV = addOptionList<Shared::Settings::AppIconStyle>(self, String("Choose which app icon style to use:"));
}

void AppearanceV::update(const Config& config)
{
    m_colorSchemeV->setSelected(config.colorScheme);
    const bool showsDarkModeStyle = config.colorScheme != Appearance::ColorScheme::alwaysLight;
    if (showsDarkModeStyle)
        m_darkModeStyleV->setSelected(config.darkModeStyle);
    Basalwork::setVisibilityAndAlpha(*m_darkModeStyleV, showsDarkModeStyle);
    m_fontStyleV->setSelected(config.fontStyle);
    m_fontSizeV->setSelected(config.fontSize);
    if (config.isAppIconStyleVisible)
        m_appIconStyleV->setSelected(config.appIconStyle);
    Basalwork::setVisibilityAndAlpha(*m_appIconStyleV, config.isAppIconStyleVisible);
}

} // namespace Corvendale
