#include "Tests/Sorrelgate/ExtensionFixture.hpp"

#include "Sorrelgate/AddEntryC.hpp"

#include "Shared/Crypto/PasswordGenerator.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"

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

} // namespace
} // namespace SorrelgateTests
