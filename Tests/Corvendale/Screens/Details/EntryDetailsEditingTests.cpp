#include "Tests/Corvendale/Screens/Details/EntryDetailsFixture.hpp"

#include "Shared/Screens/PasswordGeneratorC.hpp"
#include "Shared/Screens/PasteboardCoordinator.hpp"

#include "Basalwork/Interface/AlertController.hpp"

#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"

using Foundation::String;

namespace CorvendaleTests {
namespace {

using EntryDetailsEditingTests = EntryDetailsFixture;

std::vector<Shared::Entry::Field::Category> categories(const Shared::Entry& entry, std::int64_t section)
{
    std::vector<Shared::Entry::Field::Category> result;
    for (const auto& field : entry.sections.at(static_cast<std::size_t>(section)).fields)
        result.push_back(field.category);
    return result;
}

TEST_F(EntryDetailsEditingTests, AnItemEditedThroughTheScreenIsStoredExactlyAsEdited)
{
    preferences->setInlineGenerator(Shared::Settings::ItemDetails::InlineGenerator::disabled);
    auto mail = addItem("Mail", "old-password", [](auto& context, const String& id) { context.setText("alice", SystemID::username, id); });
    view(mail);
    tap("Edit");
    ASSERT_TRUE(coordinator->state().is<State::Editing>());

    // A section, from the add-section button's menu.
    chooseInRowMenu(MenuSource::addSection(-1), {"Blank Section"});
    driver.wait(0.5);
    ASSERT_EQ(edited().sections.size(), 1u);
    tapInput(MenuSource::section(0));
    driver.type("Travel");
    EXPECT_EQ(edited().sections[0].title, std::optional<String>("Travel"));
    const auto firstFields = edited().sections[0].fields.size();

    // A field of each category, from the add-field button's menu, each typed into.
    std::vector<Category> added;
    for (auto category : Shared::allEntryFieldCategories()) {
        chooseInRowMenu(MenuSource::addField(0), {Shared::titleText(category)});
        driver.wait(0.5);
        added.push_back(category);
        Shared::Entry::Field::ID id {0, static_cast<std::int64_t>(firstFields + added.size() - 1)};
        if (category == Category::attachment)
            continue;
        tapInput(MenuSource::customField(id, category));
        driver.type(category == Category::oneTimePassword ? String("JBSWY3DPEHPK3PXP") : Shared::titleText(category) + " value");
    }
    ASSERT_EQ(categories(edited(), 0).size(), firstFields + added.size());
    auto field = [&](std::size_t index) { return Shared::Entry::Field::ID {0, static_cast<std::int64_t>(firstFields + index)}; };
    EXPECT_EQ(edited().field(field(0)).text, "Text value");
    EXPECT_EQ(edited().field(field(8)).text, "Email value");

    // Move the text field to the end of the section, as a drag in the field-editing mode reports it.
    chooseInRowMenu(MenuSource::customField(field(0), Category::text), {"Edit Fields"});
    ASSERT_TRUE(coordinator->state().is<State::FieldEditing>());
    window->layoutIfNeeded();
    driver.tap(cell(MenuSource::customField(field(0), Category::text)));
    for (std::size_t step = 1; step < added.size(); ++step)
        driver.press(String("Down"), UIKit::UIKeyModifierFlags::alternate() | UIKit::UIKeyModifierFlags::command());
    tap("Done");
    ASSERT_TRUE(coordinator->state().is<State::Editing>()) << "Done leaves the rearranging, not the editing";
    added.push_back(added.front());
    added.erase(added.begin());

    // Delete the phone field (now one place up) and make the address field an e-mail field.
    chooseInRowMenu(MenuSource::customField(field(5), Category::phone), {"Delete Field"});
    added.erase(added.begin() + 5);
    chooseInRowMenu(MenuSource::customField(field(5), Category::address), {"Change Field Type", "Email"});
    added[5] = Category::email;
    EXPECT_EQ(categories(edited(), 0).size(), firstFields + added.size());

    // A password from the generator, and a PIN from the inline generator.
    chooseInRowMenu(MenuSource::systemField(SystemID::password), {"Generate Password"});
    auto generator = std::dynamic_pointer_cast<Shared::PasswordGeneratorC>(coordinator->presentedViewController());
    ASSERT_TRUE(generator);
    auto generated = generator->password();
    tap("Done");
    EXPECT_FALSE(coordinator->presentedViewController());
    EXPECT_EQ(edited().password, generated);

    preferences->setInlineGenerator(Shared::Settings::ItemDetails::InlineGenerator::enabled);
    driver.settle();
    auto pin = MenuSource::customField(field(3), Category::pin);
    tapInput(pin);
    EXPECT_EQ(editing().inlineGeneratorSource, pin);
    auto typedPIN = edited().field(field(3)).text;
    tap("Regenerate");
    EXPECT_NE(edited().field(field(3)).text, typedPIN);
    auto pinText = edited().field(field(3)).text;
    EXPECT_EQ(pinText.count(), preferences->pinGenerator().length);
    EXPECT_EQ(stored(mail).password, "old-password") << "nothing is stored before Done";

    auto expected = edited();
    tap("Done");
    ASSERT_TRUE(coordinator->state().is<State::Viewing>());
    auto saved = stored(mail);
    EXPECT_EQ(saved.sections, expected.sections);
    EXPECT_EQ(categories(saved, 0).size(), firstFields + added.size());
    for (std::size_t index = 0; index < added.size(); ++index)
        EXPECT_EQ(saved.sections[0].fields[firstFields + index].category, added[index]) << "field " << index;
    EXPECT_EQ(saved.field(field(0)).text, "Multiline Text value");
    EXPECT_EQ(saved.field(field(5)).text, "Address value");
    EXPECT_EQ(saved.field(field(added.size() - 1)).text, "Text value");
    EXPECT_EQ(saved.field(field(3)).text, pinText);
    EXPECT_EQ(saved.password, generated);
    EXPECT_EQ(saved.username, "alice");
    EXPECT_EQ(saved.sections[0].title, std::optional<String>("Travel"));
    ASSERT_FALSE(saved.passwordHistory.empty());
    EXPECT_EQ(saved.passwordHistory.front().text, "old-password");
    EXPECT_EQ(coordinator->syncRequests, 1);
}

TEST_F(EntryDetailsEditingTests, CopyingASecretMarksItSensitiveAndItClearsAfterTheChosenTime)
{
    preferences->setAutoClear(Shared::Settings::Clipboard::AutoClear::oneMinute);
    auto mail = addItem("Mail", "s3cret", [](auto& context, const String& id) { context.setText("alice", SystemID::username, id); });
    view(mail);
    auto pasteboard = UIKit::UIPasteboard::general();

    chooseInRowMenu(MenuSource::systemField(SystemID::username), {"Copy"});
    EXPECT_EQ(pasteboard->string(), "alice");
    EXPECT_EQ(std::ranges::count(pasteboard->types(), String(Shared::PasteboardCoordinator::concealedType)), 0);

    chooseInRowMenu(MenuSource::systemField(SystemID::password), {"Copy"});
    EXPECT_EQ(pasteboard->string(), "s3cret");
    EXPECT_EQ(std::ranges::count(pasteboard->types(), String(Shared::PasteboardCoordinator::concealedType)), 1);
    EXPECT_EQ(delegate->banners.back(), "Password");
    driver.wait(59);
    EXPECT_EQ(pasteboard->string(), "s3cret");
    driver.wait(2);
    EXPECT_FALSE(pasteboard->string());
}

TEST_F(EntryDetailsEditingTests, ARevealedPasswordIsConcealedAgainWhenAskedAndAfterAnEditWithPreferencesChanged)
{
    auto mail = addItem("Mail", "s3cret");
    view(mail);
    auto password = MenuSource::systemField(SystemID::password);
    EXPECT_NE(cell(password)->valueLabel()->text(), "s3cret");
    chooseInRowMenu(password, {"Reveal"});
    EXPECT_EQ(cell(password)->valueLabel()->text(), "s3cret");
    chooseInRowMenu(password, {"Conceal"});
    EXPECT_NE(cell(password)->valueLabel()->text(), "s3cret");

    chooseInRowMenu(password, {"Reveal"});
    preferences->setAutoClear(Shared::Settings::Clipboard::AutoClear::never);
    driver.settle();
    EXPECT_NE(cell(password)->valueLabel()->text(), "s3cret");
}

TEST_F(EntryDetailsEditingTests, TheLimitsShowTheirAlertAndChangeNothing)
{
    auto mail = addItem("Mail", "", [](auto& context, const String& id) {
        for (std::int64_t index = 0; index < Shared::Entry::maximumSectionCount; ++index)
            context.insertSectionBelow(index - 1, Shared::EntrySectionTemplate::blank, id);
        while (context.entry(id)->fieldCount() < Shared::Entry::maximumFieldCount)
            context.appendField(0, Category::text, id);
    });
    edit(mail);
    auto before = edited();

    chooseInRowMenu(MenuSource::addField(0), {"Text"});
    auto alert = std::dynamic_pointer_cast<Basalwork::AlertController>(coordinator->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_NE(alert->title(), "Oops!");
    driver.chooseAlertAction(String("OK"));
    EXPECT_EQ(edited(), before);

    ASSERT_TRUE(choose(MenuSource::section(0), {"Add Section Below", "Blank Section"}));
    alert = std::dynamic_pointer_cast<Basalwork::AlertController>(coordinator->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_NE(alert->title(), "Oops!");
    driver.chooseAlertAction(String("OK"));
    EXPECT_EQ(edited(), before);
    EXPECT_FALSE(editing().editingContext->hasChanges(mail));
}

} // namespace
} // namespace CorvendaleTests
