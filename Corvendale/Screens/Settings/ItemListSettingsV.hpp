#pragma once

#include "Corvendale/Screens/Settings/SettingsPageV.hpp"

#include "Shared/Model/Settings.Items.hpp"

#include <memory>

namespace Corvendale {

class ItemListSettingsVDelegate;
template <Shared::SettingType T>
class SettingsVOptionSettingV;

// The item list and search page: how the list shows its rows, which fields a search looks at, and
// whether the list asks before duplicating, archiving or moving items to the trash.
class ItemListSettingsV : public SettingsPageV {
public:
    using Items = Shared::Settings::Items;
    struct Config {
        Items::ListStyle listStyle;
        Items::SearchableFields searchableFields;
        Items::DuplicateConfirmation duplicateConfirmation;
        Items::ArchiveConfirmation archiveConfirmation;
        Items::MoveToTrashConfirmation moveToTrashConfirmation;
    };

    std::shared_ptr<ItemListSettingsVDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<ItemListSettingsVDelegate>& delegate);

    const std::shared_ptr<SettingsVOptionSettingV<Items::ListStyle>>& listStyleV() const { return m_listStyleV; }
    const std::shared_ptr<SettingsVOptionSettingV<Items::SearchableFields>>& searchableFieldsV() const { return m_searchableFieldsV; }
    const std::shared_ptr<SettingsVOptionSettingV<Items::DuplicateConfirmation>>& duplicateConfirmationV() const { return m_duplicateConfirmationV; }
    const std::shared_ptr<SettingsVOptionSettingV<Items::ArchiveConfirmation>>& archiveConfirmationV() const { return m_archiveConfirmationV; }
    const std::shared_ptr<SettingsVOptionSettingV<Items::MoveToTrashConfirmation>>& moveToTrashConfirmationV() const
    {
        return m_moveToTrashConfirmationV;
    }

    void update(const Config& config);
    using SettingsPageV::update;

protected:
    friend Foundation::Construct;
    explicit ItemListSettingsV(const std::shared_ptr<ItemListSettingsVDelegate>& delegate);
    void initialize() override;
    void setupPage();

private:
    std::weak_ptr<ItemListSettingsVDelegate> m_delegate;
    std::shared_ptr<SettingsVOptionSettingV<Items::ListStyle>> m_listStyleV;
    std::shared_ptr<SettingsVOptionSettingV<Items::SearchableFields>> m_searchableFieldsV;
    std::shared_ptr<SettingsVOptionSettingV<Items::DuplicateConfirmation>> m_duplicateConfirmationV;
    std::shared_ptr<SettingsVOptionSettingV<Items::ArchiveConfirmation>> m_archiveConfirmationV;
    std::shared_ptr<SettingsVOptionSettingV<Items::MoveToTrashConfirmation>> m_moveToTrashConfirmationV;
};

} // namespace Corvendale
