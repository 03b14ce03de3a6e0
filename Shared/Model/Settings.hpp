#pragma once

#include "Shared/Model/Setting.hpp"

namespace Shared {

// The user's preferences, as the preference store keeps them. Every enumeration keeps its declared
// case order: screens and stores address cases by position.
struct Settings {
    struct Appearance;
    struct Auth;
    struct Items;
    struct Clipboard;
    struct LargeViewer;
    struct ItemDetails;
    struct AutoFill;
    struct AutoBackup;
    enum class AppIconStyle { matchSystem, alwaysLight, alwaysDark };
};

template <>
struct Setting<Settings::AppIconStyle> {
    static constexpr SettingCase<Settings::AppIconStyle> cases[] = {
        {Settings::AppIconStyle::matchSystem, "matchSystem", "Match System"},
        {Settings::AppIconStyle::alwaysLight, "alwaysLight", "Light"},
        {Settings::AppIconStyle::alwaysDark, "alwaysDark", "Dark"},
    };
};

} // namespace Shared

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Model/Settings.AutoBackup.hpp"
#include "Shared/Model/Settings.AutoFill.hpp"
#include "Shared/Model/Settings.Clipboard.hpp"
#include "Shared/Model/Settings.ItemDetails.hpp"
#include "Shared/Model/Settings.Items.hpp"
#include "Shared/Model/Settings.LargeViewer.hpp"
