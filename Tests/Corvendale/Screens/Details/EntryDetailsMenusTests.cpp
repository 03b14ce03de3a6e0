#include "Tests/Corvendale/Screens/Details/EntryDetailsFixture.hpp"

#include <algorithm>

using Foundation::String;
using Lines = std::vector<std::string>;

namespace CorvendaleTests {
namespace {

using EntryDetailsMenusTests = EntryDetailsFixture;

bool has(const Lines& lines, const std::string& title)
{
    return std::ranges::find(lines, title) != lines.end();
}

TEST_F(EntryDetailsMenusTests, HistoryIsOfferedOnlyWhereThereIsOneAndHiddenOnceShown)
{
    auto mail = addItem("Mail", "one");
    view(mail);
    auto password = MenuSource::systemField(SystemID::password);
    EXPECT_EQ(titles(password), (Lines {"Copy", "Reveal", "Show in Large Type", "Edit"}));

    auto context = store->makeEditingContext();
    context->setText("two", SystemID::password, mail);
    context->save();
    driver.settle();
    EXPECT_TRUE(has(titles(password), "Show History"));
    EXPECT_TRUE(choose(password, {"Show History"}));
    EXPECT_TRUE(has(titles(password), "Hide History"));
    auto previous = MenuSource::previousPassword(stored(mail).passwordHistory.at(0).id);
    EXPECT_TRUE(has(titles(previous), "Hide History"));

    // The history emptied meanwhile: the field still offers to hide it.
    auto totp = MenuSource::systemField(SystemID::totpSecretKey);
    coordinator->transition(coordinator->state().showingHistory(*totp.historyVisibilityID()), false, false, false);
    context = store->makeEditingContext();
    context->setText("JBSWY3DPEHPK3PXP", SystemID::totpSecretKey, mail);
    context->save();
    driver.settle();
    EXPECT_TRUE(has(titles(totp), "Hide History"));
}

TEST_F(EntryDetailsMenusTests, SecretsOfferRevealOnlyWhileConcealingAndNoCopyWhileEditing)
{
    auto mail = addItem("Mail", "one", [](auto& context, const String& id) {
        context.insertSectionBelow(-1, Shared::EntrySectionTemplate::blank, id);
        context.setText("1234", context.appendField(0, Category::pin, id), id);
    });
    view(mail);
    auto password = MenuSource::systemField(SystemID::password);
    // After the blank section's own text field.
    auto pin = MenuSource::customField({0, 1}, Category::pin);
    EXPECT_TRUE(has(titles(pin), "Reveal"));
    preferences->setConcealing(Shared::Settings::Auth::Concealing::disabled);
    driver.settle();
    for (const auto& source : {password, pin}) {
        auto lines = titles(source);
        EXPECT_TRUE(has(lines, "Copy"));
        EXPECT_FALSE(has(lines, "Reveal") || has(lines, "Conceal"));
    }

    edit(mail);
    EXPECT_EQ(titles(password), Lines {"Generate Password"});
    EXPECT_FALSE(has(titles(pin), "Copy"));
    EXPECT_TRUE(has(titles(pin), "Generate PIN"));
}

TEST_F(EntryDetailsMenusTests, TheSubtitleFieldOffersToStopOnlyWhileEditing)
{
    auto mail = addItem("Mail", "", [](auto& context, const String& id) {
        context.setText("alice", SystemID::username, id);
        context.setSubtitleSource(Shared::Entry::SubtitleSource::systemField(SystemID::username), id);
    });
    view(mail);
    auto username = MenuSource::systemField(SystemID::username);
    EXPECT_EQ(titles(username), (Lines {"Copy", "Show in Large Type", "Edit"}));
    edit(mail);
    EXPECT_EQ(titles(username), (Lines {"Stop Using as Subtitle", "Set as Default Username", "Use Default Username"}));
}

TEST_F(EntryDetailsMenusTests, AttachmentFieldsOfferWhatTheStoreHolds)
{
    auto mail = addItem("Mail", "", [](auto& context, const String& id) {
        context.insertSectionBelow(-1, Shared::EntrySectionTemplate::blank, id);
        context.appendField(0, Category::attachment, id);
        context.setText("missing-attachment", context.appendField(0, Category::attachment, id), id);
    });
    view(mail);
    EXPECT_TRUE(menu(MenuSource::customField({0, 1}, Category::attachment)).empty()) << "names no attachment";
    EXPECT_EQ(titles(MenuSource::customField({0, 2}, Category::attachment)), Lines {"Edit"});
    edit(mail);
    EXPECT_EQ(titles(MenuSource::customField({0, 2}, Category::attachment)), (Lines {"Edit Fields", "Delete Field"}));
}

TEST_F(EntryDetailsMenusTests, AnItemThatMayNotBeEditedOffersNoChange)
{
    auto mail = addItem("Mail", "one", [](auto& context, const String& id) { context.setText("alice", SystemID::username, id); });
    view(mail);
    EXPECT_TRUE(menu(MenuSource::systemField(SystemID::category)).size() > 1);
    store->setTrashed({mail}, true);
    driver.settle();
    for (auto id : {SystemID::title, SystemID::username, SystemID::password}) {
        auto lines = titles(MenuSource::systemField(id));
        EXPECT_FALSE(has(lines, "Edit") || has(lines, "Use as Subtitle"));
    }
    EXPECT_TRUE(menu(MenuSource::systemField(SystemID::category)).empty());
}

TEST_F(EntryDetailsMenusTests, NoItemOrSeveralItemsHaveNoMenus)
{
    auto mail = addItem("Mail", "one");
    EXPECT_TRUE(menu(MenuSource::systemField(SystemID::password)).empty());
    coordinator->transition(State::MultipleSelection {{mail}, store}, false, false, false);
    EXPECT_TRUE(menu(MenuSource::systemField(SystemID::password)).empty());
    edit(mail);
    coordinator->perform(Shared::MenuAction::Kind::sectionEditingMode, MenuSource::section(0), nullptr);
    ASSERT_TRUE(coordinator->state().is<State::SectionEditing>());
    EXPECT_TRUE(menu(MenuSource::systemField(SystemID::password)).empty());
}

TEST_F(EntryDetailsMenusTests, TheLoginTemplateIsOfferedOnceForAnItemWithoutLoginFields)
{
    auto note = addItem("Note", "", [](auto& context, const String& id) { context.setCategory(Shared::EntryCategory::secureNote, id); });
    auto mail = addItem("Mail");
    edit(mail);
    EXPECT_FALSE(has(titles(MenuSource::addSection(-1)), "Login"));

    edit(note);
    auto sections = edited().sections.size();
    ASSERT_TRUE(choose(MenuSource::addSection(static_cast<std::int64_t>(sections) - 1), {"Login"}));
    EXPECT_EQ(edited().sections.size(), sections) << "the login fields show; no section is added";
    EXPECT_EQ(editing().emptyLoginFields, Shared::EntryDetailsVCEmptyLoginFieldsVisibility::visible);
    EXPECT_FALSE(has(titles(MenuSource::addSection(static_cast<std::int64_t>(sections) - 1)), "Login"));
    window->layoutIfNeeded();
    driver.wait(0.5);
    auto username = cell(MenuSource::systemField(SystemID::username));
    ASSERT_TRUE(username);
    EXPECT_TRUE(username->textField()->isFirstResponder());
}

} // namespace
} // namespace CorvendaleTests
