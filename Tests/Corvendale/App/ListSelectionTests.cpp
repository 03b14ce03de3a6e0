#include "Tests/Corvendale/App/ProgramFixture.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"

#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/App/SceneCoordinator.hpp"
#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"

#include "Shared/Model/Entry.SystemField.hpp"
#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Screens/EntryDetailsVC.State.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Tests/Shared/Stores/RecordStoreFixture.hpp"
#include "Tests/Support/Driver.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Platform/CloudKit/CKSimulation.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITableViewCell.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <cmath>
#include <memory>

#include <gtest/gtest.h>

namespace {

using CorvendaleTests::Program;
using Foundation::String;

// What the list has selected is what the details show and what the Item menu acts on.
class ListSelection : public Program {
protected:
    void SetUp() override
    {
        Program::SetUp();
        CorvendaleTests::prepareUnlockedEmptyContainer();
        settle();
        CloudKit::CKSimulation::injectFailure({CloudKit::CKError::Code::networkUnavailable, CloudKit::CKSimulation::Operation::any, std::nullopt, 0, std::nullopt});
        sceneDelegate()->window()->setFrame({0, 0, 1200, 800});
        sceneDelegate()->window()->layoutIfNeeded();
        m_driver = std::make_unique<TestSupport::Driver>(
            std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back()));
    }
    void TearDown() override
    {
        m_driver.reset();
        CloudKit::CKSimulation::removeInjectedFailures();
        Program::TearDown();
    }
    std::shared_ptr<Corvendale::MainCoordinator> main() const { return sceneDelegate()->sceneCoordinator()->mainCoordinator(); }
    bool enabled(const std::vector<String>& path)
    {
        auto item = m_driver->menuItem(path);
        return item && UIKit::UIMenuSystem::isEnabled(*item);
    }

    std::unique_ptr<TestSupport::Driver> m_driver;
};

TEST_F(ListSelection, ANewItemOnceSavedIsSelectedAndTheItemMenuActsOnIt)
{
    m_driver->press(String("n"), UIKit::UIKeyModifierFlags::command());
    m_driver->wait(0.1);
    const auto& details = main()->entryDetailsCoordinator()->state();
    ASSERT_TRUE(details.is<Shared::EntryDetailsVCState::Editing>());
    auto id = *details.entryID();
    details.editingPayload()->editingContext->setText("Mail", Shared::EntrySystemField::ID::title, id);
    m_driver->chooseMenuItem({"Item", "Save"});
    m_driver->wait(0.2);
    EXPECT_EQ(main()->entriesVC()->selectedEntryIDs(), std::vector<String> {id});
    EXPECT_TRUE(enabled({"Item", "Edit"}));
    EXPECT_TRUE(enabled({"Item", "Duplicate"}));
}

TEST_F(ListSelection, SelectAllMarksEveryRowAndDeselectAllLeavesNothingSelectedInTheDetails)
{
    for (const char* title : {"One", "Two", "Three"})
        SharedTests::addEntry(*Corvendale::dependencies().recordStore, title);
    settle();
    sceneDelegate()->window()->layoutIfNeeded();
    m_driver->tap(String("EntriesVC.select"));
    sceneDelegate()->window()->layoutIfNeeded();
    m_driver->tap(String("Select All"));
    sceneDelegate()->window()->layoutIfNeeded();
    EXPECT_EQ(main()->entriesVC()->selectedEntryIDs().size(), 3U);
    auto marked = main()->entriesVC()->tableView()->indexPathsForSelectedRows();
    EXPECT_EQ(marked ? marked->size() : 0U, 3U) << "every row is marked";
    EXPECT_TRUE(m_driver->core().find(String("3 Items Selected")));
    // Each row lies on whole lines of text, so that its mark is drawn on it.
    for (const auto& cell : main()->entriesVC()->tableView()->visibleCells()) {
        EXPECT_EQ(std::fmod(cell->frame().origin.y, UIKit::TextGrid::lineHeight), 0) << cell->frame().origin.y;
        EXPECT_EQ(std::fmod(cell->frame().size.height, UIKit::TextGrid::lineHeight), 0) << cell->frame().size.height;
    }

    m_driver->tap(String("Deselect All"));
    sceneDelegate()->window()->layoutIfNeeded();
    EXPECT_TRUE(main()->entriesVC()->selectedEntryIDs().empty());
    EXPECT_FALSE(m_driver->core().find(String("3 Items Selected"))) << "the details follow the list";
}

} // namespace
