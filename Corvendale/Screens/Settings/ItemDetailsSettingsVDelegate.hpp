#pragma once

#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"

#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Model/Settings.ItemDetails.hpp"
#include "Shared/Model/Settings.LargeViewer.hpp"

#include "Platform/Foundation/String.hpp"

#include <optional>

namespace Corvendale {

class ItemDetailsSettingsV;

class ItemDetailsSettingsVDelegate : public SettingsV_HeaderV_Delegate {
public:
    virtual void didUpdate(const std::optional<Foundation::String>& defaultUsername, ItemDetailsSettingsV& itemDetailsSettingsV) = 0;
    virtual void didSelect(Shared::Settings::Auth::Concealing concealing, ItemDetailsSettingsV& itemDetailsSettingsV) = 0;
    virtual void didSelect(Shared::Settings::LargeViewer::Positions largeViewerPositions, ItemDetailsSettingsV& itemDetailsSettingsV) = 0;
    virtual void didSelect(Shared::Settings::ItemDetails::InlineGenerator inlineGenerator, ItemDetailsSettingsV& itemDetailsSettingsV) = 0;
};

} // namespace Corvendale
