#include "Tests/Corvendale/App/ProgramOnTerminal.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"
#include "Tests/Shared/Stores/RecordStoreFixture.hpp"

#include "Shared/Model/Entry.SystemField.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Platform/UIKit/UITextField.hpp"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

using CorvendaleTests::ProgramOnTerminal;
using SystemID = Shared::Entry::SystemField::ID;

TEST_F(ProgramOnTerminal, ASavedLoginsDetailsShowEachLabelWithItsWholeValueOnOneRow)
{
    CorvendaleTests::OfflineCloud offline;
    CorvendaleTests::prepareUnlockedEmptyContainer();
    // Saved again below: the AutoFill page it would offer as a first login is not what is looked at.
    Corvendale::dependencies().preferenceStore->setDidOfferAutoFillForPasswords(true);
    settle();
    SharedTests::addEntry(*Corvendale::dependencies().recordStore, "Bank of Nowhere", "hunter2",
                          [](Shared::RecordStore::EditingContext& context, const Foundation::String& id) {
                              context.setText("someone@example.com", SystemID::username, id);
                              context.setText("https://bank.example.com/login", SystemID::website, id);
                              context.setText("JBSWY3DPEHPK3PXP", SystemID::totpSecretKey, id);
                          });
    settle();
    terminal(160, 40);
    auto& driver = terminal().driver();
    ASSERT_TRUE(driver.tap(Foundation::String("Bank of Nowhere")));
    settle();
    // Through the editor and back, as a person checks what they saved.
    ASSERT_TRUE(driver.chooseMenuBarItem({"Item", "Edit"}));
    settle();
    ASSERT_TRUE(driver.chooseMenuBarItem({"Item", "Save"}));
    settle();
    for (std::int64_t columns : {80, 100, 160, 220}) {
        const std::string shown = screen(columns, 40);
        SCOPED_TRACE("at " + std::to_string(columns) + " columns:\n" + shown);
        EXPECT_NE(rowShowing(shown, "Title").find("Bank of Nowhere"), std::string::npos);
        EXPECT_NE(rowShowing(shown, "Username").find("someone@example.com"), std::string::npos);
        EXPECT_NE(rowShowing(shown, "Website").find("https://bank.example.com/login"), std::string::npos);
        EXPECT_NE(rowShowing(shown, "Password").find("•"), std::string::npos);
        // The code beside its label, whole, and its countdown after it.
        EXPECT_TRUE(std::regex_search(rowShowing(shown, "One-Time Password"), std::regex("One-Time Password +[0-9]{3} [0-9]{3} +[0-9]+$")));
    }
}

TEST_F(ProgramOnTerminal, NotesBeingEditedShowEachLineOnItsOwnRow)
{
    CorvendaleTests::OfflineCloud offline;
    CorvendaleTests::prepareUnlockedEmptyContainer();
    // Saved again below: the AutoFill page it would offer as a first login is not what is looked at.
    Corvendale::dependencies().preferenceStore->setDidOfferAutoFillForPasswords(true);
    settle();
    SharedTests::addEntry(*Corvendale::dependencies().recordStore, "Bank of Nowhere", "hunter2");
    settle();
    terminal(100, 40);
    auto& driver = terminal().driver();
    ASSERT_TRUE(driver.tap(Foundation::String("Bank of Nowhere")));
    settle();
    ASSERT_TRUE(driver.chooseMenuBarItem({"Item", "Edit"}));
    settle();
    auto inNotes = [&] {
        auto field = std::dynamic_pointer_cast<UIKit::UITextField>(driver.focusedView());
        return field && field->placeholder() == Foundation::String("Notes");
    };
    screen(); // the editor laid out at the terminal's size before Tab moves through it
    for (int step = 0; step < 40 && !inNotes(); ++step)
        driver.press(Foundation::String("Tab"));
    ASSERT_TRUE(inNotes());
    driver.type(Foundation::String("first line"));
    driver.press(Foundation::String("Return"));
    driver.type(Foundation::String("second line"));
    driver.press(Foundation::String("Return"));
    driver.type(Foundation::String("third line"));
    const std::string shown = screen();
    SCOPED_TRACE(shown);
    const auto first = rowShowing(shown, "first line");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.find("second"), std::string::npos);
    const auto lines = shown.find(first);
    const auto next = shown.find('\n', lines) + 1;
    EXPECT_NE(shown.substr(next, shown.find('\n', next) - next).find("second line"), std::string::npos);
    EXPECT_FALSE(rowShowing(shown, "third line").empty());
    EXPECT_FALSE(rowShowing(shown, "Tags").empty());
}

} // namespace
