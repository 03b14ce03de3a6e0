#include "Corvendale/Screens/Settings/ItemDetailsSettingsC.hpp"

#include "Corvendale/Services/Dependencies.hpp"

namespace Corvendale {

using Shared::Settings;

std::shared_ptr<ItemDetailsSettingsV> ItemDetailsSettingsC::makePageView()
{
    return Foundation::make<ItemDetailsSettingsV>(sharedSelf(this));
}

ItemDetailsSettingsV::Config ItemDetailsSettingsC::makeConfig()
{
    const auto& preferences = *dependencies().preferenceStore;
    return {preferences.defaultUsername(), preferences.concealing(), preferences.largeViewerPositions(), preferences.inlineGenerator()};
}

void ItemDetailsSettingsC::didUpdate(const std::optional<Foundation::String>& defaultUsername, ItemDetailsSettingsV&)
{
    dependencies().preferenceStore->setDefaultUsername(defaultUsername);
}

void ItemDetailsSettingsC::didSelect(Settings::Auth::Concealing concealing, ItemDetailsSettingsV&)
{
    dependencies().preferenceStore->setConcealing(concealing);
}

void ItemDetailsSettingsC::didSelect(Settings::LargeViewer::Positions largeViewerPositions, ItemDetailsSettingsV&)
{
    dependencies().preferenceStore->setLargeViewerPositions(largeViewerPositions);
}

void ItemDetailsSettingsC::didSelect(Settings::ItemDetails::InlineGenerator inlineGenerator, ItemDetailsSettingsV&)
{
    dependencies().preferenceStore->setInlineGenerator(inlineGenerator);
}

void ItemDetailsSettingsC::didSelectDone(SettingsVHeaderV&)
{
    dismissFromDelegate();
}

} // namespace Corvendale
