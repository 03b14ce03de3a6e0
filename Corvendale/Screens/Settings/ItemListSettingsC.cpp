#include "Corvendale/Screens/Settings/ItemListSettingsC.hpp"

#include "Corvendale/Services/Dependencies.hpp"

#include "Shared/Stores/RecordStore.hpp"

namespace Corvendale {

using Items = Shared::Settings::Items;

std::shared_ptr<ItemListSettingsV> ItemListSettingsC::makePageView()
{
    return Foundation::make<ItemListSettingsV>(sharedSelf(this));
}

ItemListSettingsV::Config ItemListSettingsC::makeConfig()
{
    const auto& preferences = *dependencies().preferenceStore;
    return {preferences.listStyle(), preferences.searchableFields(), preferences.duplicateConfirmation(), preferences.archiveConfirmation(),
        preferences.moveToTrashConfirmation()};
}

void ItemListSettingsC::didSelect(Items::ListStyle listStyle, ItemListSettingsV&)
{
    dependencies().preferenceStore->setListStyle(listStyle);
}

void ItemListSettingsC::didSelect(Items::SearchableFields searchableFields, ItemListSettingsV&)
{
    // The choice stays stored when the refresh fails: the next refresh picks it up.
    dependencies().preferenceStore->setSearchableFields(searchableFields);
    try {
        dependencies().recordStore->refreshSearchData();
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, Foundation::String("didSelect(searchableFields:itemListSettingsV:)"));
    }
}

void ItemListSettingsC::didSelect(Items::DuplicateConfirmation duplicateConfirmation, ItemListSettingsV&)
{
    dependencies().preferenceStore->setDuplicateConfirmation(duplicateConfirmation);
}

void ItemListSettingsC::didSelect(Items::ArchiveConfirmation archiveConfirmation, ItemListSettingsV&)
{
    dependencies().preferenceStore->setArchiveConfirmation(archiveConfirmation);
}

void ItemListSettingsC::didSelect(Items::MoveToTrashConfirmation moveToTrashConfirmation, ItemListSettingsV&)
{
    dependencies().preferenceStore->setMoveToTrashConfirmation(moveToTrashConfirmation);
}

void ItemListSettingsC::didSelectDone(SettingsVHeaderV&)
{
    dismissFromDelegate();
}

} // namespace Corvendale
