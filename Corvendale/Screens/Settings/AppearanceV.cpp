#include "Corvendale/Screens/Settings/AppearanceV.hpp"

#include "Corvendale/Screens/Settings/AppearanceVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"

#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

using Foundation::String;

namespace {

// A list whose choice goes to the page's delegate; the page is held weakly.
template <Shared::SettingType T>
std::shared_ptr<SettingsVOptionSettingV<T>> makeOptionList(const std::shared_ptr<AppearanceV>& page, const char* question)
{
    auto list = Foundation::make<SettingsVOptionSettingV<T>>();
    list->setTitleText(String(question));
    std::weak_ptr<AppearanceV> weakPage = page;
    list->onSelection = [weakPage](const T& value) {
        auto self = weakPage.lock();
        if (auto delegate = self ? self->delegate() : nullptr)
            delegate->didSelect(value, *self);
    };
    page->contentContainer()->addArrangedSubview(list);
    return list;
}

} // namespace

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
    m_colorSchemeV = makeOptionList<Appearance::ColorScheme>(self, "Choose which color scheme to use:");
    m_darkModeStyleV = makeOptionList<Appearance::DarkModeStyle>(self, "When using the dark color scheme, how dark is dark enough?");
    m_fontStyleV = makeOptionList<Appearance::FontStyle>(self, "Choose which font style to use:");
    m_fontSizeV = makeOptionList<Appearance::FontSize>(self, "Choose which font size to use:");
    m_appIconStyleV = makeOptionList<Shared::Settings::AppIconStyle>(self, "Choose which app icon style to use:");
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
