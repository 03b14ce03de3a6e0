#pragma once

#include "Corvendale/Screens/Settings/ItemListSettingsCDelegate.hpp"
#include "Corvendale/Screens/Settings/ItemListSettingsV.hpp"
#include "Corvendale/Screens/Settings/ItemListSettingsVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsPageC.hpp"

namespace Corvendale {

// The item list page's controller: writes each choice to the preference store; new searchable fields
// also bring the record store's search data in line with them.
class ItemListSettingsC : public SettingsPageC<ItemListSettingsV, ItemListSettingsCDelegate>, public ItemListSettingsVDelegate {
public:
    void didSelect(Shared::Settings::Items::ListStyle listStyle, ItemListSettingsV& itemListSettingsV) override;
    void didSelect(Shared::Settings::Items::SearchableFields searchableFields, ItemListSettingsV& itemListSettingsV) override;
    void didSelect(Shared::Settings::Items::DuplicateConfirmation duplicateConfirmation, ItemListSettingsV& itemListSettingsV) override;
    void didSelect(Shared::Settings::Items::ArchiveConfirmation archiveConfirmation, ItemListSettingsV& itemListSettingsV) override;
    void didSelect(Shared::Settings::Items::MoveToTrashConfirmation moveToTrashConfirmation, ItemListSettingsV& itemListSettingsV) override;
    void didSelectDone(SettingsVHeaderV& headerV) override;

protected:
    friend Foundation::Construct;
    using SettingsPageC::SettingsPageC;
    std::shared_ptr<ItemListSettingsV> makePageView() override;
    ItemListSettingsV::Config makeConfig() override;
};

} // namespace Corvendale
