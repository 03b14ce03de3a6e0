#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"

#include "Corvendale/Screens/Settings/ItemListSettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsTVC.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"
#include "Corvendale/Screens/Settings/SettingsVC.hpp"

#include "Shared/Screens/EntryCell.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITableView.hpp"

using Foundation::String;
using Items = Shared::Settings::Items;

namespace {

class ItemListSettingsPage : public CorvendaleTests::MainCoordinatorFixture {
protected:
    void SetUp() override
    {
        MainCoordinatorFixture::SetUp();
        if (auto banners = delegate->banners->view()->window())
            banners->setIsHidden(true);
        forum = add("Forum", "p4ss", [](Shared::RecordStore::EditingContext& context, const String& id) {
            context.setText(String("alice@example.com"), Shared::Entry::SystemField::ID::username, id);
        });
        add("Bank");
        show();
        coordinator->presentSettings(false);
        settle();
        settings = std::dynamic_pointer_cast<Corvendale::SettingsC>(coordinator->presentedViewController());
        ASSERT_NE(settings, nullptr);
        settings->didSelectItemList(*settings->settingsVC()->settingsTVC());
        settle();
        page = std::dynamic_pointer_cast<Corvendale::ItemListSettingsC>(settings->presentedViewController());
        ASSERT_NE(page, nullptr) << "the row opens the page";
        window->layoutIfNeeded();
    }
    void TearDown() override
    {
        preferences()->setListStyle(Items::ListStyle::standard);
        preferences()->setSearchableFields(Items::SearchableFields::titleSubtitleTags);
        preferences()->setDuplicateConfirmation(Items::DuplicateConfirmation::enabled);
        MainCoordinatorFixture::TearDown();
    }
    String add(const String& title, const String& password = "",
               const std::function<void(Shared::RecordStore::EditingContext&, const String&)>& fill = {})
    {
        return SharedTests::addEntry(*store, title, password, fill);
    }
    static const std::shared_ptr<Shared::PreferenceStore>& preferences() { return CorvendaleTests::inMemoryDependencies().preferenceStore; }
    Corvendale::ItemListSettingsV& view() const { return *page->customView(); }
    // The list's row of the item, as the list draws it now.
    std::shared_ptr<Shared::EntryCell> cell(const String& title) const
    {
        coordinator->entriesVC()->tableView()->layoutIfNeeded();
        for (const auto& cell : coordinator->entriesVC()->tableView()->visibleCells()) {
            auto row = std::dynamic_pointer_cast<Shared::EntryCell>(cell);
            if (row && row->titleLabel()->text() == std::optional(title))
                return row;
        }
        return nullptr;
    }
    std::vector<String> found(const String& text)
    {
        coordinator->entriesVC()->setSearchText(text);
        settle();
        return shown();
    }

    String forum;
    std::shared_ptr<Corvendale::SettingsC> settings;
    std::shared_ptr<Corvendale::ItemListSettingsC> page;
};

TEST_F(ItemListSettingsPage, TheListTakesTheChosenStyleAtOnce)
{
    EXPECT_EQ(view().headerV()->title(), String("Item List & Search"));
    EXPECT_EQ(view().listStyleV()->selected(), Items::ListStyle::standard);
    ASSERT_NE(cell("Forum"), nullptr);
    EXPECT_FALSE(cell("Forum")->subtitleLabel()->isHidden());
    EXPECT_EQ(cell("Forum")->subtitleLabel()->text(), std::optional(String("alice@example.com")));

    driver.tap(view().listStyleV()->optionVs()[1]);
    settle();
    EXPECT_EQ(preferences()->listStyle(), Items::ListStyle::standardWithoutSubtitle);
    EXPECT_EQ(view().listStyleV()->selected(), Items::ListStyle::standardWithoutSubtitle) << "the store's notification moves the highlight";
    ASSERT_NE(cell("Forum"), nullptr);
    EXPECT_TRUE(cell("Forum")->subtitleLabel()->isHidden()) << "the list behind the settings follows without a relaunch";

    view().listStyleV()->onSelection(Items::ListStyle::compactWithSubtitle);
    settle();
    EXPECT_FALSE(cell("Forum")->subtitleLabel()->isHidden());
}

TEST_F(ItemListSettingsPage, SearchesLookAtTheChosenFieldsOnceChosen)
{
    EXPECT_EQ(view().searchableFieldsV()->selected(), Items::SearchableFields::titleSubtitleTags);
    view().searchableFieldsV()->onSelection(Items::SearchableFields::titleTags);
    settle();
    EXPECT_EQ(preferences()->searchableFields(), Items::SearchableFields::titleTags);
    EXPECT_EQ(found("alice"), std::vector<String> {}) << "the user name is not searched";

    view().searchableFieldsV()->onSelection(Items::SearchableFields::titleSubtitleUsernameTags);
    settle();
    EXPECT_EQ(view().searchableFieldsV()->selected(), Items::SearchableFields::titleSubtitleUsernameTags);
    EXPECT_EQ(found("alice"), std::vector<String> {forum});
    EXPECT_EQ(found("Bank").size(), 1U);
}

TEST_F(ItemListSettingsPage, ConfirmationsAreStoredAndDoneClosesOnlyThePage)
{
    view().duplicateConfirmationV()->onSelection(Items::DuplicateConfirmation::disabled);
    view().archiveConfirmationV()->onSelection(Items::ArchiveConfirmation::disabled);
    settle();
    EXPECT_EQ(preferences()->duplicateConfirmation(), Items::DuplicateConfirmation::disabled);
    EXPECT_EQ(preferences()->archiveConfirmation(), Items::ArchiveConfirmation::disabled);
    EXPECT_EQ(view().archiveConfirmationV()->selected(), Items::ArchiveConfirmation::disabled);
    EXPECT_EQ(view().moveToTrashConfirmationV()->selected(), Items::MoveToTrashConfirmation::enabled);
    preferences()->setArchiveConfirmation(Items::ArchiveConfirmation::enabled);

    // A change made elsewhere (the menu bar) shows on the open page.
    preferences()->setMoveToTrashConfirmation(Items::MoveToTrashConfirmation::disabled);
    settle();
    EXPECT_EQ(view().moveToTrashConfirmationV()->selected(), Items::MoveToTrashConfirmation::disabled);
    preferences()->setMoveToTrashConfirmation(Items::MoveToTrashConfirmation::enabled);

    driver.tap(view().headerV()->doneButton());
    settle();
    EXPECT_EQ(settings->presentedViewController(), nullptr);
    EXPECT_EQ(coordinator->presentedViewController(), settings) << "the settings stay";
}

} // namespace
