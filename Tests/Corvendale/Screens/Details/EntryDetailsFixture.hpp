#pragma once

#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"

#include "Tests/Corvendale/Screens/Details/RecordingEntryDetailsCoordinatorDelegate.hpp"
#include "Tests/Corvendale/Screens/Items/ItemListFixture.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"
#include "Tests/Shared/Stores/RecordStoreFixture.hpp"
#include "Tests/Support/Driver.hpp"

#include "Shared/Screens/EntryDetailsTVC.Cell.hpp"
#include "Shared/Screens/EntryDetailsTVC.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Screens/EntryDetailsVHeaderV.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"

#include "Platform/UIKit/UIInteractionDriver.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

namespace CorvendaleTests {

// The details coordinator, counting the syncs it starts instead of starting them.
class TestEntryDetailsCoordinator : public Corvendale::EntryDetailsCoordinator {
public:
    int syncRequests = 0;

protected:
    friend Foundation::Construct;
    TestEntryDetailsCoordinator() = default;
    void startSync() override { ++syncRequests; }
};

// The details column alone in a window over the process's unlocked in-memory container.
class EntryDetailsFixture : public testing::Test {
protected:
    using State = Corvendale::EntryDetailsCoordinator::State;
    using MenuSource = Shared::MenuSource;
    using SystemID = Shared::Entry::SystemField::ID;
    using Category = Shared::Entry::Field::Category;

    OfflineCloud offline;

    void SetUp() override
    {
        prepareUnlockedEmptyContainer();
        settleSyncs();
        const auto& services = inMemoryDependencies();
        store = services.recordStore;
        preferences = services.preferenceStore;
        preferences->setConcealing(Shared::Settings::Auth::Concealing::enabled);
        preferences->setInlineGenerator(Shared::Settings::ItemDetails::InlineGenerator::enabled);
        window->setFrame({0, 0, 800, 700});
        coordinator = Foundation::make<TestEntryDetailsCoordinator>();
        coordinator->setDelegate(delegate);
        window->setRootViewController(coordinator);
        window->makeKeyAndVisible();
        driver.settle();
    }

    void TearDown() override
    {
        while (coordinator->presentedViewController()) {
            coordinator->dismiss(false);
            driver.settle();
        }
        window->setRootViewController(nullptr);
        driver.settle();
    }

    Foundation::String addItem(const Foundation::String& title, const Foundation::String& password = "",
                               const std::function<void(Shared::RecordStore::EditingContext&, const Foundation::String&)>& fill = {})
    {
        return SharedTests::addEntry(*store, title, password, fill);
    }

    State viewing(const Foundation::String& entryID) const
    {
        State::Viewing viewing;
        viewing.entryID = entryID;
        viewing.recordStore = store;
        return viewing;
    }

    void view(const Foundation::String& entryID)
    {
        coordinator->transition(viewing(entryID), false, false, false);
        driver.settle();
    }

    void edit(const Foundation::String& entryID)
    {
        coordinator->transitionToEdit(entryID, true, std::nullopt, false);
        driver.settle();
    }

    const State::Editing& editing() const
    {
        const auto* editing = coordinator->state().as<State::Editing>();
        EXPECT_TRUE(editing);
        return *editing;
    }

    Shared::Entry stored(const Foundation::String& entryID) const { return *store->entry(entryID); }
    Shared::Entry edited() const { return *coordinator->state().entry(); }

    std::vector<std::string> menu(const MenuSource& source)
    {
        auto menu = coordinator->menu(source);
        return menu ? describe(*menu) : std::vector<std::string> {};
    }
    std::vector<std::string> titles(const MenuSource& source)
    {
        auto menu = coordinator->menu(source);
        return menu ? actionTitles(*menu) : std::vector<std::string> {};
    }
    bool choose(const MenuSource& source, std::vector<std::string> path)
    {
        auto menu = coordinator->menu(source);
        bool chosen = menu && CorvendaleTests::choose(*menu, std::move(path));
        driver.settle();
        return chosen;
    }

    // The row's cell as it shows now; none when no row is that source.
    std::shared_ptr<Shared::EntryDetailsTVCCell> cell(const MenuSource& source) const
    {
        window->layoutIfNeeded();
        // A person scrolls to the row first.
        const auto& sections = table().sections();
        for (std::size_t section = 0; section < sections.size(); ++section)
            for (std::size_t row = 0; row < sections[section].rows.size(); ++row)
                if (sections[section].rows[row].source == source)
                    table().tableView()->scrollToRow(
                        Foundation::IndexPath::withRow(static_cast<std::int64_t>(row), static_cast<std::int64_t>(section)),
                        UIKit::UITableView::ScrollPosition::middle, false);
        window->layoutIfNeeded();
        for (const auto& cell : table().tableView()->visibleCells())
            if (auto row = std::dynamic_pointer_cast<Shared::EntryDetailsTVCCell>(cell); row && row->row() && row->row()->source == source)
                return row;
        return nullptr;
    }
    // The screen is laid out before a person looks at it; the driver taps where things stand.
    void tap(const char* identifierOrText)
    {
        window->layoutIfNeeded();
        driver.tap(Foundation::String(identifierOrText));
    }
    // Taps the row's input, as a person starts typing into it.
    void tapInput(const MenuSource& source)
    {
        auto row = cell(source);
        ASSERT_TRUE(row && row->textField()) << "no input for the row";
        window->layoutIfNeeded();
        driver.tap(row->textField());
    }

    // Opens the row's context menu, as a secondary click does, and chooses the entry at the title path.
    void chooseInRowMenu(const MenuSource& source, const std::vector<Foundation::String>& path)
    {
        auto row = cell(source);
        ASSERT_TRUE(row) << "no row for the source";
        ASSERT_TRUE(interaction.openContextMenu(row)) << "the row has no menu";
        driver.chooseShownMenuItem(path);
    }

    Shared::EntryDetailsTVC& table() const { return *coordinator->entryDetailsVC()->entryDetailsTVC(); }
    Shared::EntryDetailsVHeaderV& header() const { return *coordinator->entryDetailsVC()->headerV(); }

    std::shared_ptr<Shared::RecordStore> store;
    std::shared_ptr<Shared::PreferenceStore> preferences;
    std::shared_ptr<RecordingEntryDetailsCoordinatorDelegate> delegate = Foundation::make<RecordingEntryDetailsCoordinatorDelegate>();
    std::shared_ptr<UIKit::UIWindowScene> scene = Foundation::make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = Foundation::make<UIKit::UIWindow>(scene);
    TestSupport::Driver driver {scene};
    UIKit::UIInteractionDriver interaction {scene};
    std::shared_ptr<TestEntryDetailsCoordinator> coordinator;
};

} // namespace CorvendaleTests
