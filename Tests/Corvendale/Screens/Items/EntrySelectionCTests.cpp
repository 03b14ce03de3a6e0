#include "Corvendale/Screens/Items/EntrySelectionC.hpp"
#include "Corvendale/Screens/Items/EntrySelectionCDelegate.hpp"

#include "Tests/Corvendale/Screens/Items/ItemListFixture.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"
#include "Tests/Support/Driver.hpp"

#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

using Corvendale::EntrySelectionC;
using Foundation::String;
using SystemField = Shared::Entry::SystemField::ID;
using Lines = std::vector<std::string>;

namespace {

class RecordingPickerDelegate : public Corvendale::EntrySelectionCDelegate {
public:
    Lines calls;
    void entrySelectionCDidCancel() override { calls.push_back("cancel"); }
    void entrySelectionC(const String& entryID, const Foundation::URL& url) override { calls.push_back("select " + entryID.utf8() + " " + url.absoluteString().utf8()); }
    void entrySelectionC(Shared::EntryCategory category, const Foundation::URL& url) override
    {
        calls.push_back("new " + Shared::titleText(category).utf8() + " " + url.absoluteString().utf8());
    }
};

class EntrySelectionCTests : public testing::Test {
protected:
    CorvendaleTests::OfflineCloud offline;

    void SetUp() override
    {
        CorvendaleTests::prepareUnlockedEmptyContainer();
        CorvendaleTests::settleSyncs();
        store = CorvendaleTests::inMemoryDependencies().recordStore;
        window->setFrame({0, 0, 1000, 700});
    }

    std::shared_ptr<EntrySelectionC> show(std::optional<String> domain)
    {
        auto picker = Foundation::make<EntrySelectionC>(link, std::move(domain));
        picker->setDelegate(delegate);
        window->setRootViewController(picker);
        window->makeKeyAndVisible();
        driver.settle();
        return picker;
    }

    String addSite(const String& title, const String& website)
    {
        return SharedTests::addEntry(*store, title, "", [website](auto& context, const String& id) { context.setText(website, SystemField::website, id); });
    }

    Foundation::URL link = *Foundation::URL::string("otpauth://totp/Example?secret=JBSWY3DPEHPK3PXP");
    std::shared_ptr<Shared::RecordStore> store;
    std::shared_ptr<RecordingPickerDelegate> delegate = std::make_shared<RecordingPickerDelegate>();
    std::shared_ptr<UIKit::UIWindowScene> scene = Foundation::make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = Foundation::make<UIKit::UIWindow>(scene);
    TestSupport::Driver driver {scene};
};

} // namespace

TEST_F(EntrySelectionCTests, TheLinksSiteNarrowsTheListAndAChoiceGoesWithTheLink)
{
    auto mail = addSite("Mail", "https://mail.example.com");
    addSite("Bank", "https://bank.example.org");
    auto picker = show(String("example.com"));
    EXPECT_EQ(picker->entriesVC()->shownEntryIDs(), std::vector<String> {mail});

    picker->didUpdate({mail}, true, *picker->entriesVC());
    picker->didUpdate({}, true, *picker->entriesVC());
    EXPECT_EQ(delegate->calls, (Lines {"select " + mail.utf8() + " " + link.absoluteString().utf8()}));

    auto menu = picker->newItemMenu(*picker->entriesVC()->titleButton());
    EXPECT_TRUE(CorvendaleTests::choose(*menu, {"Login"}));
    picker->didSelectCancel(*picker->entriesVC());
    EXPECT_EQ(delegate->calls.back(), "cancel");
    EXPECT_EQ(delegate->calls[1], "new Login " + link.absoluteString().utf8());
}

TEST_F(EntrySelectionCTests, EscapeCancelsAndThePickerOffersNoneOfTheMainListsActions)
{
    auto mail = addSite("Mail", "https://mail.example.com");
    auto picker = show(std::nullopt);
    EXPECT_EQ(picker->entriesVC()->shownEntryIDs(), std::vector<String> {mail});
    EXPECT_FALSE(picker->contextMenu({mail}, picker->view(), *picker->entriesVC()));
    EXPECT_FALSE(picker->allowsTrailingSwipeActions(*picker->entriesVC()));
    bool performed = true;
    picker->didSwipeToArchive(mail, picker->view(), [&](bool done) { performed = done; }, *picker->entriesVC());
    EXPECT_FALSE(performed);

    picker->handleEscapeKeyPress();
    EXPECT_EQ(delegate->calls, (Lines {"cancel"}));
}

TEST_F(EntrySelectionCTests, TypingSearchesEveryItemAndClearingTheSearchShowsTheSitesItemsAgain)
{
    auto mail = addSite("Mail", "https://mail.example.com");
    auto bank = addSite("Bank", "https://bank.example.org");
    auto picker = show(String("example.com"));
    ASSERT_EQ(picker->entriesVC()->shownEntryIDs(), std::vector<String> {mail});

    window->layoutIfNeeded(); // where the field is to be tapped
    driver.tap(picker->entriesVC()->searchField());
    driver.type("Ba");
    EXPECT_EQ(picker->entriesVC()->shownEntryIDs(), std::vector<String> {bank}) << "beyond the link's site";
    driver.type("x");
    EXPECT_TRUE(picker->entriesVC()->shownEntryIDs().empty());

    for (int i = 0; i < 3; ++i)
        driver.press("Delete");
    EXPECT_EQ(picker->entriesVC()->shownEntryIDs(), std::vector<String> {mail});
}

TEST_F(EntrySelectionCTests, TheSearchFieldTakesTheKeyboardOnEveryUnlockWithItemsAndThePreferenceOn)
{
    const auto& services = CorvendaleTests::inMemoryDependencies();
    auto relock = [&] { CorvendaleTests::lockAndUnlock(driver); };
    services.preferenceStore->setSearchFocus(Shared::Settings::Items::SearchFocus::enabled);
    addSite("Mail", "https://mail.example.com");
    auto picker = show(std::nullopt);
    const auto& field = picker->entriesVC()->searchField();
    relock();
    EXPECT_TRUE(field->isFirstResponder());
    field->resignFirstResponder();
    relock();
    EXPECT_TRUE(field->isFirstResponder()) << "no once-per-unlock rule";

    field->resignFirstResponder();
    services.preferenceStore->setSearchFocus(Shared::Settings::Items::SearchFocus::disabled);
    relock();
    EXPECT_FALSE(field->isFirstResponder());
    services.preferenceStore->setSearchFocus(Shared::Settings::Items::SearchFocus::enabled);
}

TEST_F(EntrySelectionCTests, ArrowsPointAtItemsReturnChoosesExactlyOneAndTypedLettersSearch)
{
    auto alpha = addSite("Alpha", "https://alpha.example");
    auto beta = addSite("Beta", "https://beta.example");
    auto gamma = addSite("Gamma", "https://gamma.example");
    auto picker = show(std::nullopt);
    window->layoutIfNeeded();
    picker->becomeFirstResponder();
    const auto& list = picker->entriesVC();

    driver.press("Return");
    EXPECT_TRUE(delegate->calls.empty()) << "nothing selected, nothing chosen";
    driver.press("Down");
    driver.press("Down");
    EXPECT_EQ(list->selectedEntryIDs(), std::vector<String> {beta});
    EXPECT_TRUE(delegate->calls.empty()) << "moving is not choosing";
    driver.press("Down", UIKit::UIKeyModifierFlags::shift());
    EXPECT_EQ(list->selectedEntryIDs(), (std::vector<String> {beta, gamma}));
    driver.press("Return");
    EXPECT_TRUE(delegate->calls.empty()) << "several selected, nothing chosen";
    driver.press("Up", UIKit::UIKeyModifierFlags::alternate() | UIKit::UIKeyModifierFlags::shift());
    EXPECT_EQ(list->selectedEntryIDs().front(), alpha) << "extended to the top";
    driver.press("Down", UIKit::UIKeyModifierFlags::alternate());
    ASSERT_EQ(list->selectedEntryIDs().size(), 1u);
    driver.press("Return");
    EXPECT_EQ(delegate->calls, (Lines {"select " + list->selectedEntryIDs().front().utf8() + " " + link.absoluteString().utf8()}));

    driver.press("g", UIKit::UIKeyModifierFlags::command());
    EXPECT_EQ(list->searchText(), String()) << "Command-letters are not collected";
    driver.press("g");
    EXPECT_EQ(list->searchText(), String("g"));
    EXPECT_EQ(list->shownEntryIDs(), std::vector<String> {gamma});
    delegate->calls.clear();
    driver.press("Escape");
    EXPECT_TRUE(delegate->calls.empty()) << "a typed search keeps the picker open";

    driver.press("f", UIKit::UIKeyModifierFlags::command());
    EXPECT_TRUE(list->searchField()->isFirstResponder());
    driver.type("a");
    EXPECT_EQ(list->searchText(), String("ga")) << "the search field takes what is typed into it";
}
