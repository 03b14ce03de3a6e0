#include "Corvendale/Screens/Settings/ItemListSettingsV.hpp"

#include "Corvendale/Screens/Settings/ItemListSettingsVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"

namespace Corvendale {

using Foundation::String;

ItemListSettingsV::ItemListSettingsV(const std::shared_ptr<ItemListSettingsVDelegate>& delegate)
    : m_delegate(delegate)
{
}

void ItemListSettingsV::initialize()
{
    SettingsPageV::initialize();
    setAccessibilityIdentifier(String("ItemListSettingsV"));
    setupPage();
}

void ItemListSettingsV::setDelegate(const std::shared_ptr<ItemListSettingsVDelegate>& delegate)
{
    m_delegate = delegate;
    headerV()->setDelegate(delegate);
}

void ItemListSettingsV::setupPage()
{
    headerV()->setTitle(String("Item List & Search"));
    headerV()->setDelegate(m_delegate.lock());
    auto self = sharedSelf(this);
    m_listStyleV = addOptionList<Items::ListStyle>(self, String("Choose how items are displayed in the list:"));
    m_searchableFieldsV = addOptionList<Items::SearchableFields>(self, String("Choose which fields are included while searching:"));
    m_duplicateConfirmationV = addOptionList<Items::DuplicateConfirmation>(self, String("Ask before duplicating items?"));
    m_archiveConfirmationV = addOptionList<Items::ArchiveConfirmation>(self, String("Ask before archiving items?"));
    m_moveToTrashConfirmationV = addOptionList<Items::MoveToTrashConfirmation>(self, String("Ask before moving items to trash?"));
}

void ItemListSettingsV::update(const Config& config)
{
    m_listStyleV->setSelected(config.listStyle);
    m_searchableFieldsV->setSelected(config.searchableFields);
    m_duplicateConfirmationV->setSelected(config.duplicateConfirmation);
    m_archiveConfirmationV->setSelected(config.archiveConfirmation);
    m_moveToTrashConfirmationV->setSelected(config.moveToTrashConfirmation);
}

} // namespace Corvendale
