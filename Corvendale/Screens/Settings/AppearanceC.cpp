#include "Corvendale/Screens/Settings/AppearanceC.hpp"

#include "Corvendale/Services/Dependencies.hpp"

#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"

namespace Corvendale {


using Shared::Settings;

std::shared_ptr<AppearanceV> AppearanceC::makePageView()
{
    return Foundation::make<AppearanceV>(sharedSelf(this));
}

AppearanceV::Config AppearanceC::makeConfig()
{
    const auto& preferences = *dependencies().preferenceStore;
    return {preferences.colorScheme(), preferences.darkModeStyle(), preferences.fontStyle(),
            preferences.fontSize(),    preferences.appIconStyle(),  UIKit::UIApplication::shared()->supportsAlternateIcons()};
}

void AppearanceC::didSelect(Shared::Settings::Appearance::ColorScheme colorScheme, AppearanceV&)
{
    dependencies().preferenceStore->setColorScheme(colorScheme);
    // The menu bar's colour-scheme commands carry a check mark.
    UIKit::UIMenuSystem::main()->setNeedsRebuild();
}

void AppearanceC::didSelect(Shared::Settings::Appearance::DarkModeStyle darkModeStyle, AppearanceV&)
{
    dependencies().preferenceStore->setDarkModeStyle(darkModeStyle);
}

void AppearanceC::didSelect(Shared::Settings::Appearance::FontStyle fontStyle, AppearanceV&)
{
    dependencies().preferenceStore->setFontStyle(fontStyle);
}

void AppearanceC::didSelect(Shared::Settings::Appearance::FontSize fontSize, AppearanceV&)
{
    dependencies().preferenceStore->setFontSize(fontSize);
}

void AppearanceC::didSelect(Settings::AppIconStyle appIconStyle, AppearanceV&)
{
    if (dependencies().preferenceStore->appIconStyle() == appIconStyle)
        return;
    std::optional<Foundation::String> iconName;
    if (appIconStyle == Settings::AppIconStyle::alwaysLight)
        iconName = Foundation::String("AppIconAlwaysLight");
    else if (appIconStyle == Settings::AppIconStyle::alwaysDark)
        iconName = Foundation::String("AppIconAlwaysDark");
    std::weak_ptr<AppearanceC> weakSelf = sharedSelf(this);
    // The style is stored only once the icon has changed, so the two never disagree.
    UIKit::UIApplication::shared()->setAlternateIconName(iconName, [weakSelf, appIconStyle](Foundation::ErrorPtr error) {
        auto self = weakSelf.lock();
        if (!self)
            return;
        if (error)
            self->handleUnexpectedError(*error, Foundation::String("didSelect(appIconStyle:appearanceV:)"));
        else
            self->dependencies().preferenceStore->setAppIconStyle(appIconStyle);
    });
}

void AppearanceC::didSelectDone(SettingsVHeaderV&)
{
    dismissFromDelegate();
}

} // namespace Corvendale
