#pragma once

#include "Corvendale/Screens/Settings/ItemDetailsSettingsCDelegate.hpp"
#include "Corvendale/Screens/Settings/ItemDetailsSettingsV.hpp"
#include "Corvendale/Screens/Settings/ItemDetailsSettingsVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsPageC.hpp"

namespace Corvendale {

// The item details page's controller: writes the user name as typed and each choice to the preference
// store.
class ItemDetailsSettingsC : public SettingsPageC<ItemDetailsSettingsV, ItemDetailsSettingsCDelegate>, public ItemDetailsSettingsVDelegate {
public:
    void didUpdate(const std::optional<Foundation::String>& defaultUsername, ItemDetailsSettingsV& itemDetailsSettingsV) override;
    void didSelect(Shared::Settings::Auth::Concealing concealing, ItemDetailsSettingsV& itemDetailsSettingsV) override;
    void didSelect(Shared::Settings::LargeViewer::Positions largeViewerPositions, ItemDetailsSettingsV& itemDetailsSettingsV) override;
    void didSelect(Shared::Settings::ItemDetails::InlineGenerator inlineGenerator, ItemDetailsSettingsV& itemDetailsSettingsV) override;
    void didSelectDone(SettingsVHeaderV& headerV) override;

protected:
    friend Foundation::Construct;
    using SettingsPageC::SettingsPageC;
    std::shared_ptr<ItemDetailsSettingsV> makePageView() override;
    ItemDetailsSettingsV::Config makeConfig() override;
};

} // namespace Corvendale
