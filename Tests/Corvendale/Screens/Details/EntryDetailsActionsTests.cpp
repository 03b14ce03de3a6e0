#include "Tests/Corvendale/Screens/Details/EntryDetailsFixture.hpp"

#include "Corvendale/Screens/LargeViewer/LargeViewerV.Content.hpp"

#include "Shared/Model/TOTP.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"

#include "Basalwork/Interface/AlertController.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"

using Foundation::String;
using Kind = Shared::MenuAction::Kind;

namespace CorvendaleTests {
namespace {

using EntryDetailsActionsTests = EntryDetailsFixture;

std::optional<String> lastOpenedURL()
{
    const auto& opened = UIKit::UIApplication::shared()->openedURLs();
    if (opened.empty())
        return std::nullopt;
    return opened.back().absoluteString();
}

TEST_F(EntryDetailsActionsTests, CopiesAndLargeTypeShowEachKindOfValueAsAPersonUsesIt)
{
    auto secret = String("JBSWY3DPEHPK3PXP");
    Shared::Entry::Field::ID card {};
    Shared::Entry::Field::ID code {};
    auto mail = addItem("Mail", "", [&](auto& context, const String& id) {
        context.setText(secret, SystemID::totpSecretKey, id);
        context.setText("work, home", SystemID::tags, id);
        context.insertSectionBelow(-1, Shared::EntrySectionTemplate::blank, id);
        card = context.appendField(0, Category::creditCardNumber, id);
        context.setText(" 4111 1111 1111 1111 ", card, id);
        context.setFieldTitle(String("Visa"), card, id);
        code = context.appendField(0, Category::oneTimePassword, id);
        context.setText(secret, code, id);
    });
    view(mail);
    auto pasteboard = UIKit::UIPasteboard::general();

    coordinator->perform(Kind::copy, MenuSource::customField(card, Category::creditCardNumber), nullptr);
    EXPECT_EQ(pasteboard->string(), "4111111111111111");
    EXPECT_EQ(delegate->banners.back(), "Visa");
    coordinator->perform(Kind::showInLargeType, MenuSource::customField(card, Category::creditCardNumber), nullptr);
    EXPECT_EQ(delegate->largeViewerContents.back(), Corvendale::LargeViewerVContent::text("4111 1111 1111 1111"));

    auto now = Foundation::Date::now();
    coordinator->perform(Kind::copy, MenuSource::systemField(SystemID::totpSecretKey), nullptr);
    EXPECT_EQ(pasteboard->string(), Shared::TOTP(secret).generateOrInvalidSecretKeyText(now));
    coordinator->perform(Kind::copySecretKey, MenuSource::customField(code, Category::oneTimePassword), nullptr);
    EXPECT_EQ(pasteboard->string(), secret);
    EXPECT_EQ(delegate->banners.back(), " secret key") << "an untitled field";
    coordinator->perform(Kind::copySecretKey, MenuSource::systemField(SystemID::totpSecretKey), nullptr);
    EXPECT_EQ(delegate->banners.back(), Shared::EntrySystemField::titleText(SystemID::totpSecretKey) + " secret key");

    coordinator->perform(Kind::copy, MenuSource::systemField(SystemID::tags), nullptr);
    EXPECT_EQ(pasteboard->string(), "work, home");
}

TEST_F(EntryDetailsActionsTests, PhoneNumbersWebsitesAndAddressesOpenWhatTheDesktopCanOpen)
{
    Shared::Entry::Field::ID phone {};
    Shared::Entry::Field::ID address {};
    auto mail = addItem("Mail", "", [&](auto& context, const String& id) {
        context.setText("example.com/login", SystemID::website, id);
        context.insertSectionBelow(-1, Shared::EntrySectionTemplate::blank, id);
        phone = context.appendField(0, Category::phone, id);
        context.setText("+1 555 0100", phone, id);
        address = context.appendField(0, Category::address, id);
        context.setText("1 Main St, Springfield", address, id);
    });
    view(mail);
    chooseInRowMenu(MenuSource::customField(phone, Category::phone), {"Call"});
    EXPECT_EQ(lastOpenedURL(), "tel://+15550100");
    chooseInRowMenu(MenuSource::systemField(SystemID::website), {"Open Website"});
    EXPECT_EQ(lastOpenedURL(), "https://example.com/login");
    chooseInRowMenu(MenuSource::customField(address, Category::address), {"Show in Maps"});
    EXPECT_EQ(lastOpenedURL(), "geo:0,0?q=1%20Main%20St%2C%20Springfield");

    auto opened = UIKit::UIApplication::shared()->openedURLs().size();
    coordinator->call(String("555 %"));
    EXPECT_EQ(UIKit::UIApplication::shared()->openedURLs().size(), opened) << "no valid URL, nothing opens";
}

TEST_F(EntryDetailsActionsTests, AnAddressGetsAMailLinkOrTheUnableToSendMailNotice)
{
    Shared::Entry::Field::ID email {};
    auto mail = addItem("Mail", "", [&](auto& context, const String& id) {
        context.insertSectionBelow(-1, Shared::EntrySectionTemplate::blank, id);
        email = context.appendField(0, Category::email, id);
        context.setText("alice@example.com", email, id);
    });
    view(mail);
    coordinator->perform(Kind::composeEmail, MenuSource::customField(email, Category::email), nullptr);
    EXPECT_EQ(lastOpenedURL(), "mailto:alice@example.com?subject&body") << "both items, neither with a value";

    // An address that is no link, and a link nothing on the desktop takes.
    auto opened = UIKit::UIApplication::shared()->openedURLs().size();
    auto noticeTitle = [&]() -> std::string {
        auto alert = std::dynamic_pointer_cast<Basalwork::AlertController>(coordinator->presentedViewController());
        return alert && alert->title() ? alert->title()->utf8() : std::string();
    };
    coordinator->composeEmail(String("alice @example.com"), false);
    EXPECT_EQ(noticeTitle(), "Unable to Send Mail");
    coordinator->dismiss(false);
    settleSyncs();
    UIKit::UIApplication::setExternalURLHandler({[](const Foundation::URL&) { return false; }, nullptr});
    coordinator->composeEmail(String("alice@example.com"), false);
    UIKit::UIApplication::setExternalURLHandler({});
    EXPECT_EQ(noticeTitle(), "Unable to Send Mail");
    EXPECT_EQ(UIKit::UIApplication::shared()->openedURLs().size(), opened);
}

TEST_F(EntryDetailsActionsTests, ChangesWhileViewingAreSavedAtOnceAndSynced)
{
    auto mail = addItem("Mail", "one", [](auto& context, const String& id) { context.setText("alice", SystemID::username, id); });
    auto context = store->makeEditingContext();
    context->setText("two", SystemID::password, mail);
    context->save();
    view(mail);

    chooseInRowMenu(MenuSource::systemField(SystemID::username), {"Use as Subtitle"});
    EXPECT_EQ(stored(mail).subtitleSource, Shared::Entry::SubtitleSource::systemField(SystemID::username));
    EXPECT_EQ(coordinator->syncRequests, 1);

    coordinator->perform(Shared::MenuAction::previousPasswordAction(stored(mail).passwordHistory.at(0).id),
                         MenuSource::previousPassword(stored(mail).passwordHistory.at(0).id), nullptr);
    EXPECT_EQ(stored(mail).password, "one");
    EXPECT_EQ(coordinator->syncRequests, 2);

    coordinator->perform(Shared::MenuAction::changeItemCategory(Shared::EntryCategory::secureNote), MenuSource::systemField(SystemID::category),
                         nullptr);
    EXPECT_EQ(stored(mail).category, Shared::EntryCategory::secureNote);
    EXPECT_EQ(coordinator->syncRequests, 3);
    EXPECT_TRUE(coordinator->state().is<State::Viewing>());
}

TEST_F(EntryDetailsActionsTests, DoneLeavesTheRearrangingUnsavedAndEndsAnEditBySaving)
{
    auto mail = addItem("Mail", "one");
    edit(mail);
    editing().editingContext->setText("Post", SystemID::title, mail);
    coordinator->perform(Kind::sectionEditingMode, MenuSource::section(0), nullptr);
    ASSERT_TRUE(coordinator->state().is<State::SectionEditing>());
    coordinator->didSelectDone(header());
    ASSERT_TRUE(coordinator->state().is<State::Editing>());
    EXPECT_TRUE(coordinator->isModalInPresentation());
    EXPECT_EQ(stored(mail).title, "Mail");

    delegate->isSelectingMultiple = true;
    coordinator->didSelectDone(header());
    ASSERT_TRUE(coordinator->state().is<State::MultipleSelection>());
    EXPECT_EQ(coordinator->state().as<State::MultipleSelection>()->entryIDs, std::vector<String> {mail});
    EXPECT_EQ(stored(mail).title, "Post");
    EXPECT_EQ(coordinator->syncRequests, 1);

    coordinator->didSelectDone(header());
    EXPECT_TRUE(coordinator->state().is<State::MultipleSelection>()) << "Done outside editing does nothing";
}

TEST_F(EntryDetailsActionsTests, AFailedSaveShowsOopsAndKeepsTheEdits)
{
    auto mail = addItem("Mail");
    edit(mail);
    editing().editingContext->setText("Post", SystemID::title, mail);
    // A locked vault writes nothing.
    inMemoryDependencies().authenticationStore->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, false, std::nullopt, "test");
    coordinator->didSelectDone(header());
    ASSERT_TRUE(coordinator->state().is<State::Editing>());
    auto alert = std::dynamic_pointer_cast<Basalwork::AlertController>(coordinator->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Oops!");
    EXPECT_EQ(edited().title, "Post");
    EXPECT_EQ(coordinator->syncRequests, 0);
}

TEST_F(EntryDetailsActionsTests, TextEditingReachesTheContextOnlyWhileEditing)
{
    auto mail = addItem("Mail", "one");
    view(mail);
    auto title = MenuSource::systemField(SystemID::title);
    auto password = MenuSource::systemField(SystemID::password);
    coordinator->didUpdate(String("Post"), title, table());
    coordinator->didUpdate(true, table());
    EXPECT_EQ(stored(mail).title, "Mail");
    EXPECT_FALSE(stored(mail).isSafeForInspection);

    edit(mail);
    coordinator->didBeginEditingText(title, table());
    EXPECT_FALSE(editing().inlineGeneratorSource) << "only password and PIN fields show the generator";
    coordinator->didBeginEditingText(password, table());
    EXPECT_EQ(editing().inlineGeneratorSource, password);
    coordinator->didEndEditingText(title, table());
    EXPECT_EQ(editing().inlineGeneratorSource, password) << "another field ended: the generator stays";
    coordinator->didEndEditingText(password, table());
    EXPECT_FALSE(editing().inlineGeneratorSource);

    coordinator->didUpdate(true, table());
    EXPECT_TRUE(edited().isSafeForInspection);
    EXPECT_FALSE(stored(mail).isSafeForInspection);
}

TEST_F(EntryDetailsActionsTests, HeaderItemsChangeTheEditWhileEditingAndTheStoreThroughTheOwnerWhileViewing)
{
    auto mail = addItem("Mail");
    view(mail);
    coordinator->didSelect(MenuSource::header(MenuSource::HeaderItem::favorite), nullptr, {}, table());
    coordinator->didSelect(MenuSource::header(MenuSource::HeaderItem::moveToTrash), nullptr, {}, table());
    EXPECT_EQ(delegate->calls, (std::vector<std::string> {"favorite true " + mail.utf8(), "trashed true " + mail.utf8()}));

    delegate->calls.clear();
    edit(mail);
    coordinator->didSelect(MenuSource::header(MenuSource::HeaderItem::favorite), nullptr, {}, table());
    for (auto item : {MenuSource::HeaderItem::share, MenuSource::HeaderItem::restore, MenuSource::HeaderItem::deletePermanently})
        coordinator->didSelect(MenuSource::header(item), nullptr, {}, table());
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_TRUE(edited().isFavorite);
    EXPECT_FALSE(stored(mail).isFavorite);

    coordinator->didSelect(MenuSource::header(MenuSource::HeaderItem::unarchive), nullptr, {}, table());
    EXPECT_TRUE(delegate->calls.empty());
    driver.wait(0.3);
    EXPECT_EQ(delegate->calls, std::vector<std::string> {"archived false " + mail.utf8()}) << "after the keyboard has gone";
}

TEST_F(EntryDetailsActionsTests, TheInlineGeneratorsOptionsGoToTheChosenKindAndMakeANewValue)
{
    auto mail = addItem("Mail", "one");
    edit(mail);
    auto password = MenuSource::systemField(SystemID::password);
    auto settings = preferences->passwordGenerator();
    settings.kind = Shared::PasswordGenerator::Kind::random;
    preferences->setPasswordGenerator(settings);

    coordinator->didUpdateGeneratorLength(30, password, table());
    EXPECT_EQ(preferences->passwordGenerator().random.length, 30);
    EXPECT_EQ(edited().password.count(), 30);

    coordinator->didUpdateGeneratorSeparator(String("+"), password, table());
    EXPECT_EQ(preferences->passwordGenerator().words.separator, "-") << "the words' separator is not the random kind's";

    settings = preferences->passwordGenerator();
    settings.kind = Shared::PasswordGenerator::Kind::words;
    preferences->setPasswordGenerator(settings);
    coordinator->didUpdateGeneratorCount(4, password, table());
    EXPECT_EQ(preferences->passwordGenerator().words.count, 4);
    EXPECT_EQ(edited().password.components(preferences->passwordGenerator().words.separator).size(), 4u);
    EXPECT_EQ(stored(mail).password, "one");
}

} // namespace
} // namespace CorvendaleTests
