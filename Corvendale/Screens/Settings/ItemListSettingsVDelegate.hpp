#pragma once

#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"

#include "Shared/Model/Settings.Items.hpp"

namespace Corvendale {

class ItemListSettingsV;

class ItemListSettingsVDelegate : public SettingsV_HeaderV_Delegate {
public:
    virtual void didSelect(Shared::Settings::Items::ListStyle listStyle, ItemListSettingsV& itemListSettingsV) = 0;
    virtual void didSelect(Shared::Settings::Items::SearchableFields searchableFields, ItemListSettingsV& itemListSettingsV) = 0;
    virtual void didSelect(Shared::Settings::Items::DuplicateConfirmation duplicateConfirmation, ItemListSettingsV& itemListSettingsV) = 0;
    virtual void didSelect(Shared::Settings::Items::ArchiveConfirmation archiveConfirmation, ItemListSettingsV& itemListSettingsV) = 0;
    virtual void didSelect(Shared::Settings::Items::MoveToTrashConfirmation moveToTrashConfirmation, ItemListSettingsV& itemListSettingsV) = 0;
};

} // namespace Corvendale
