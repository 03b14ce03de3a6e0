#include "Tests/Sorrelgate/ExtensionFixture.hpp"

#include "Sorrelgate/AddEntryC.hpp"

#include "Shared/Crypto/PasswordGenerator.hpp"
#include "Shared/Model/Settings.ItemDetails.hpp"
#include "Shared/Screens/EntryDetailsTVC.Cell.hpp"
#include "Shared/Screens/EntryDetailsTVC.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Screens/PasswordGeneratorC.hpp"

#include "Platform/UIKit/UIPasteboard.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <cctype>

namespace SorrelgateTests {
namespace {

using ID = Shared::Entry::SystemField::ID;
using Shared::MenuSource;

class AddEntryTest : public ExtensionTest {
protected:
    // The add-item screen over the unlocked list for the site.
    std::shared_ptr<Sorrelgate::AddEntryC> open(Request& request)
    {
        request.enter(masterPassword);
        auto entriesC = request.entriesC();
        entriesC->newItemMenu(*entriesC->entriesVC()->titleButton());
        request.provider()->didRequestNewEntry(*entriesC);
        TestSupport::advanceClock(1);
        auto addEntryC = std::dynamic_pointer_cast<Sorrelgate::AddEntryC>(request.provider()->presentedViewController());
        EXPECT_TRUE(addEntryC);
        return addEntryC;
    }
    static std::optional<Shared::Entry> edited(const Sorrelgate::AddEntryC& addEntryC) { return addEntryC.editingContext()->entry(addEntryC.entryID()); }
    static std::shared_ptr<Shared::EntryDetailsTVCCell> cell(const Sorrelgate::AddEntryC& addEntryC, const MenuSource& source)
    {
        // The screen is laid out before a person looks at it.
        if (auto window = addEntryC.entryDetailsVC()->view()->window())
            window->layoutIfNeeded();
        for (const auto& cell : addEntryC.entryDetailsVC()->entryDetailsTVC()->tableView()->visibleCells())
            if (auto row = std::dynamic_pointer_cast<Shared::EntryDetailsTVCCell>(cell); row && row->row() && row->row()->source == source)
                return row;
        return nullptr;
    }
    // The row's menu, opened as a secondary click on the row opens it, and the entry at the title path.
    static void chooseInRowMenu(Request& request, const Sorrelgate::AddEntryC& addEntryC, ID field, const std::vector<Foundation::String>& path)
    {
        auto row = cell(addEntryC, MenuSource::systemField(field));
        ASSERT_TRUE(row) << "no row for the field";
        request.driver().core().openContextMenu(row);
        request.driver().chooseShownMenuItem(path);
    }
};

TEST_F(AddEntryTest, ANewLoginForTheSiteIsSavedAndHandedOver)
{
    addLogin("Forum", "alice", "forum-secret", "forum.example");
    services().preferenceStore->setDefaultUsername(Foundation::String("me@home.example"));
    lock();
    auto request = Request::list({"https://shop.example/cart"});
    auto addEntryC = open(request);
    ASSERT_TRUE(addEntryC);
    auto entry = edited(*addEntryC);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->title, Foundation::String("shop.example"));
    EXPECT_EQ(entry->website, Foundation::String("shop.example"));
    EXPECT_EQ(entry->username, Foundation::String("me@home.example"));

    auto& details = *addEntryC->entryDetailsVC()->entryDetailsTVC();
    addEntryC->didUpdate(Foundation::String("shop-secret"), MenuSource::systemField(ID::password), details);
    addEntryC->didSelectDone(*addEntryC->entryDetailsVC()->headerV());
    ASSERT_TRUE(request.waitForEnd());
    EXPECT_EQ(*request.outcome(), Context::Outcome(Context::CompletedWithPassword {{"me@home.example", "shop-secret"}}));
    auto saved = services().recordStore->entry(addEntryC->entryID());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->password, Foundation::String("shop-secret"));
    ASSERT_EQ(saved->serviceIdentifiers.size(), 1U);
    EXPECT_TRUE(saved->serviceIdentifiers.front().lastUsedAt);
}

TEST_F(AddEntryTest, EscapeClosesWithoutSavingAndTheListTakesTheKeysAgain)
{
    addLogin("Forum", "alice", "forum-secret", "forum.example");
    lock();
    auto request = Request::list({});
    auto addEntryC = open(request);
    ASSERT_TRUE(addEntryC);
    EXPECT_EQ(edited(*addEntryC)->title, Foundation::String());
    EXPECT_EQ(edited(*addEntryC)->website, Foundation::String());

    // The title takes the keyboard first: Escape belongs to the field being edited.
    ASSERT_TRUE(addEntryC->entryDetailsVC()->view()->window());
    request.driver().press("Escape");
    TestSupport::advanceClock(1);
    EXPECT_TRUE(request.provider()->presentedViewController());
    addEntryC->becomeFirstResponder();
    request.driver().press("Escape");
    TestSupport::advanceClock(1);
    EXPECT_FALSE(request.provider()->presentedViewController());
    EXPECT_FALSE(request.outcome());
    EXPECT_FALSE(services().recordStore->entry(addEntryC->entryID()));
    EXPECT_EQ(services().recordStore->entryIndices(Shared::Entry::Filter::allItems(), Shared::Settings::Items::SortMethod::alphabetical).size(), 1U);
    EXPECT_TRUE(request.entriesC()->isFirstResponder());
}

TEST_F(AddEntryTest, GeneratedValuesFollowTheirFieldsGenerator)
{
    unlock();
    lock();
    auto request = Request::list({"shop.example"});
    auto addEntryC = open(request);
    ASSERT_TRUE(addEntryC);
    auto& details = *addEntryC->entryDetailsVC()->entryDetailsTVC();
    auto section = addEntryC->editingContext()->insertSectionAbove(0, Shared::Entry::Section::Template::blank, addEntryC->entryID());
    auto pin = addEntryC->editingContext()->appendField(section, Shared::Entry::Field::Category::pin, addEntryC->entryID());
    auto pinSource = MenuSource::customField(pin, Shared::Entry::Field::Category::pin);

    addEntryC->didUpdateGeneratorCount(8, pinSource, details);
    auto value = edited(*addEntryC)->field(pin).text;
    EXPECT_EQ(value.count(), 8);
    EXPECT_EQ(services().preferenceStore->pinGenerator().length, 8);

    auto password = MenuSource::systemField(ID::password);
    addEntryC->didUpdateGeneratorLength(30, password, details);
    EXPECT_EQ(edited(*addEntryC)->password.count(), 30);
    // A setting the PIN generator does not have changes nothing.
    addEntryC->didUpdateGeneratorLength(12, pinSource, details);
    EXPECT_EQ(edited(*addEntryC)->field(pin).text, value);

    // The inline generator shows under the field being edited, and only that field hides it.
    addEntryC->didBeginEditingText(password, details);
    EXPECT_EQ(addEntryC->menuSourceToShowInlineGenerator(), password);
    addEntryC->didEndEditingText(pinSource, details);
    EXPECT_EQ(addEntryC->menuSourceToShowInlineGenerator(), password);
    addEntryC->didEndEditingText(password, details);
    EXPECT_FALSE(addEntryC->menuSourceToShowInlineGenerator());
}

TEST_F(AddEntryTest, OnlyTheCategoryTheUsernameAndThePasswordHaveMenus)
{
    unlock();
    services().preferenceStore->setDefaultUsername(Foundation::String("me@home.example"));
    lock();
    auto request = Request::list({"shop.example"});
    auto addEntryC = open(request);
    ASSERT_TRUE(addEntryC);
    auto& details = *addEntryC->entryDetailsVC()->entryDetailsTVC();
    EXPECT_FALSE(addEntryC->menu(MenuSource::systemField(ID::title), details));
    EXPECT_FALSE(addEntryC->menu(MenuSource::systemField(ID::website), details));

    addEntryC->didUpdate(Foundation::String("bob"), MenuSource::systemField(ID::username), details);
    chooseInRowMenu(request, *addEntryC, ID::username, {"Use Default Username"});
    EXPECT_EQ(edited(*addEntryC)->username, Foundation::String("me@home.example"));
    auto username = cell(*addEntryC, MenuSource::systemField(ID::username));
    ASSERT_TRUE(username);
    EXPECT_TRUE(username->textField()->isFirstResponder()) << "the filled-in field keeps the keyboard";
}

TEST_F(AddEntryTest, TheGeneratorShowsUnderThePasswordOrOverTheScreenAndDoneTakesThePasswordShown)
{
    unlock();
    const auto& preferences = services().preferenceStore;
    auto settings = preferences->passwordGenerator();
    settings.kind = Shared::PasswordGenerator::Kind::random;
    settings.random.length = 30;
    preferences->setPasswordGenerator(settings);
    lock();
    auto request = Request::list({"shop.example"});
    auto addEntryC = open(request);
    ASSERT_TRUE(addEntryC);
    auto password = MenuSource::systemField(ID::password);

    // Under the field: the password field takes the keyboard and the generator shows beneath it.
    preferences->setInlineGenerator(Shared::Settings::ItemDetails::InlineGenerator::enabled);
    chooseInRowMenu(request, *addEntryC, ID::password, {"Generate Password"});
    EXPECT_FALSE(addEntryC->presentedViewController());
    EXPECT_EQ(addEntryC->menuSourceToShowInlineGenerator(), password);
    EXPECT_TRUE(cell(*addEntryC, password)->textField()->isFirstResponder());
    addEntryC->didEndEditingText(password, *addEntryC->entryDetailsVC()->entryDetailsTVC());

    // Over the screen: it starts from the stored settings, and the screen's own keys wait while it shows.
    preferences->setInlineGenerator(Shared::Settings::ItemDetails::InlineGenerator::disabled);
    chooseInRowMenu(request, *addEntryC, ID::password, {"Generate Password"});
    auto generator = std::dynamic_pointer_cast<Shared::PasswordGeneratorC>(addEntryC->presentedViewController());
    ASSERT_TRUE(generator);
    EXPECT_EQ(generator->password().count(), 30);
    EXPECT_TRUE(addEntryC->keyCommands()->empty());
    generator->view()->window()->layoutIfNeeded();
    request.driver().tap(Foundation::String("PasswordGeneratorC.symbols"));
    request.driver().tap(Foundation::String("Copy"));
    auto copied = UIKit::UIPasteboard::general()->string();
    ASSERT_TRUE(copied);
    EXPECT_EQ(*copied, generator->password());
    generator->handleDoneCommand();
    TestSupport::advanceClock(1);
    EXPECT_FALSE(addEntryC->presentedViewController());
    // What was copied (and perhaps already given to the site) is what the item keeps.
    EXPECT_EQ(edited(*addEntryC)->password, *copied);
    EXPECT_FALSE(preferences->passwordGenerator().random.includesSymbols);
    EXPECT_EQ(preferences->passwordGenerator().random.length, 30);

    // Cancel leaves the field as it was.
    chooseInRowMenu(request, *addEntryC, ID::password, {"Generate Password"});
    generator = std::dynamic_pointer_cast<Shared::PasswordGeneratorC>(addEntryC->presentedViewController());
    ASSERT_TRUE(generator);
    request.driver().press(Foundation::String("Escape"));
    TestSupport::advanceClock(1);
    EXPECT_FALSE(addEntryC->presentedViewController());
    EXPECT_EQ(edited(*addEntryC)->password, *copied);
    EXPECT_FALSE(request.outcome()) << "Escape closed the generator, not the screen";

    addEntryC->didSelectDone(*addEntryC->entryDetailsVC()->headerV());
    ASSERT_TRUE(request.waitForEnd());
    EXPECT_EQ(services().recordStore->entry(addEntryC->entryID())->password, *copied);
}

} // namespace
} // namespace SorrelgateTests
