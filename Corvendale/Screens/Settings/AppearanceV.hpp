#pragma once

#include "Corvendale/Screens/Settings/SettingsPageV.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Model/Settings.hpp"

#include <memory>

namespace Corvendale {

class AppearanceVDelegate;
template <Shared::SettingType T>
class SettingsVOptionSettingV;

// The appearance page: colour scheme, how dark the dark scheme is (hidden while the scheme is always
// light), font style and size, and the application icon where the system offers alternate icons.
class AppearanceV : public SettingsPageV {
public:
    using Appearance = Shared::Settings::Appearance;
    struct Config {
        Appearance::ColorScheme colorScheme;
        Appearance::DarkModeStyle darkModeStyle;
        Appearance::FontStyle fontStyle;
        Appearance::FontSize fontSize;
        Shared::Settings::AppIconStyle appIconStyle;
        bool isAppIconStyleVisible;
    };

    std::shared_ptr<AppearanceVDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<AppearanceVDelegate>& delegate);

    const std::shared_ptr<SettingsVOptionSettingV<Appearance::ColorScheme>>& colorSchemeV() const { return m_colorSchemeV; }
    const std::shared_ptr<SettingsVOptionSettingV<Appearance::DarkModeStyle>>& darkModeStyleV() const { return m_darkModeStyleV; }
    const std::shared_ptr<SettingsVOptionSettingV<Appearance::FontStyle>>& fontStyleV() const { return m_fontStyleV; }
    const std::shared_ptr<SettingsVOptionSettingV<Appearance::FontSize>>& fontSizeV() const { return m_fontSizeV; }
    const std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::AppIconStyle>>& appIconStyleV() const { return m_appIconStyleV; }

    void update(const Config& config);
    using SettingsPageV::update;

protected:
    friend Foundation::Construct;
    explicit AppearanceV(const std::shared_ptr<AppearanceVDelegate>& delegate);
    void initialize() override;
    void setupPage();

private:
    std::weak_ptr<AppearanceVDelegate> m_delegate;
    std::shared_ptr<SettingsVOptionSettingV<Appearance::ColorScheme>> m_colorSchemeV;
    std::shared_ptr<SettingsVOptionSettingV<Appearance::DarkModeStyle>> m_darkModeStyleV;
    std::shared_ptr<SettingsVOptionSettingV<Appearance::FontStyle>> m_fontStyleV;
    std::shared_ptr<SettingsVOptionSettingV<Appearance::FontSize>> m_fontSizeV;
    std::shared_ptr<SettingsVOptionSettingV<Shared::Settings::AppIconStyle>> m_appIconStyleV;
};

} // namespace Corvendale
