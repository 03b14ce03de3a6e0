#include "Tests/Corvendale/Screens/Details/EntryDetailsFixture.hpp"

#include "Shared/Model/Settings.ItemDetails.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Interface/AlertController.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIActivityViewController.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"
#include "Platform/UIKit/UIStepper.hpp"
#include "Platform/UIKit/UISwitch.hpp"

#include <functional>

using Foundation::String;

namespace CorvendaleTests {
namespace {

using EntryDetailsCoordinatorTests = EntryDetailsFixture;

std::vector<std::string> keyInputs(const Corvendale::EntryDetailsCoordinator& coordinator)
{
    std::vector<std::string> inputs;
    for (const auto& command : coordinator.keyCommands().value_or(std::vector<std::shared_ptr<UIKit::UIKeyCommand>> {}))
        inputs.push_back(command->action().name() + (command->modifierFlags() == UIKit::UIKeyModifierFlags::shift() ? "+shift" : ""));
    return inputs;
}

TEST_F(EntryDetailsCoordinatorTests, EditingTheItemAlreadyEditedKeepsItsContextAndAnotherItemSavesTheEditsFirst)
{
    auto mail = addItem("Mail", "one");
    auto bank = addItem("Bank");
    edit(mail);
    auto context = editing().editingContext;
    EXPECT_TRUE(coordinator->isModalInPresentation());
    EXPECT_TRUE(coordinator->isFirstResponder());
    context->setText("two", SystemID::password, mail);

    coordinator->transitionToEdit(mail, true, std::nullopt, false);
    EXPECT_EQ(editing().editingContext, context);
    EXPECT_EQ(stored(mail).password, "one") << "editing the same item again saves nothing";

    coordinator->transitionToEdit(bank, true, std::nullopt, false);
    EXPECT_EQ(editing().entryID, bank);
    EXPECT_NE(editing().editingContext, context);
    EXPECT_EQ(stored(mail).password, "two");
    EXPECT_EQ(coordinator->syncRequests, 1);
}

TEST_F(EntryDetailsCoordinatorTests, TheEditedContextsChangesShowOnTheScreen)
{
    auto mail = addItem("Mail");
    edit(mail);
    editing().editingContext->setText("Post", SystemID::title, mail);
    driver.settle();
    EXPECT_EQ(header().titleLabel()->text(), "Post");
    EXPECT_EQ(stored(mail).title, "Mail");
}

TEST_F(EntryDetailsCoordinatorTests, CancellingANewItemEmptiesTheColumnAndDismissesItWhenPresentedAlone)
{
    auto context = store->makeEditingContext();
    auto id = context->insert(Foundation::UUID().uuidString(), store->vaultIDForNewEntries(), Shared::EntryCategory::login, false);
    State::Editing editingNew;
    editingNew.entryID = id;
    editingNew.editingContext = context;
    coordinator->transition(editingNew, false, true, false);
    delegate->presentsDetails = true;

    coordinator->didSelectCancel();
    EXPECT_TRUE(coordinator->state().is<State::Empty>());
    EXPECT_FALSE(coordinator->isModalInPresentation());
    EXPECT_EQ(delegate->calls, std::vector<std::string> {"dismissPresented"});
    EXPECT_FALSE(store->containsEntry(id));
}

TEST_F(EntryDetailsCoordinatorTests, CancellingLeavesTheStoredItemUnchangedAndFollowsTheListsSelection)
{
    auto mail = addItem("Mail", "one");
    edit(mail);
    editing().editingContext->setText("two", SystemID::password, mail);
    editing().editingContext->insertSectionBelow(-1, Shared::EntrySectionTemplate::blank, mail);
    delegate->isSelectingMultiple = true;
    coordinator->didSelectCancel();
    const auto* selection = coordinator->state().as<State::MultipleSelection>();
    ASSERT_TRUE(selection);
    EXPECT_EQ(selection->entryIDs, std::vector<String> {mail});
    EXPECT_EQ(stored(mail).password, "one");
    EXPECT_TRUE(stored(mail).sections.empty());
    EXPECT_EQ(coordinator->syncRequests, 0);

    delegate->isSelectingMultiple = false;
    edit(mail);
    coordinator->didSelectCancel();
    ASSERT_TRUE(coordinator->state().is<State::Viewing>());
    EXPECT_EQ(stored(mail).password, "one");
}

TEST_F(EntryDetailsCoordinatorTests, CancellingKeepsTheRevealedFieldsOnlyWhileConcealingIsOn)
{
    auto mail = addItem("Mail", "secret");
    view(mail);
    coordinator->perform(Shared::MenuAction::Kind::reveal, MenuSource::systemField(SystemID::password), nullptr);
    edit(mail);
    coordinator->didSelectCancel();
    auto conceal = coordinator->state().concealState();
    ASSERT_TRUE(conceal);
    EXPECT_EQ(conceal->mode(), Shared::EntryDetailsVCConcealState::Mode::enabled);
    EXPECT_EQ(conceal->revealedIDs().size(), 1u);

    preferences->setConcealing(Shared::Settings::Auth::Concealing::disabled);
    driver.settle();
    edit(mail);
    coordinator->didSelectCancel();
    EXPECT_EQ(coordinator->state().concealState()->mode(), Shared::EntryDetailsVCConcealState::Mode::disabled);
}

TEST_F(EntryDetailsCoordinatorTests, AChangeOfPreferencesConcealsEveryRevealedFieldAgain)
{
    auto mail = addItem("Mail", "secret");
    view(mail);
    coordinator->perform(Shared::MenuAction::Kind::reveal, MenuSource::systemField(SystemID::password), nullptr);
    ASSERT_FALSE(coordinator->state().concealState()->isConcealed("Password"));
    preferences->setDefaultUsername(String("someone"));
    driver.settle();
    EXPECT_TRUE(coordinator->state().concealState()->isConcealed("Password"));
    EXPECT_TRUE(coordinator->state().concealState()->revealedIDs().empty());
}

TEST_F(EntryDetailsCoordinatorTests, TheOptionKeyRevealsOnlyWhileViewing)
{
    auto mail = addItem("Mail", "secret");
    view(mail);
    coordinator->revealAllSecureFieldsViaOverride();
    EXPECT_FALSE(coordinator->state().concealState()->isConcealed("Password"));
    coordinator->removeConcealOverrides();
    EXPECT_TRUE(coordinator->state().concealState()->isConcealed("Password"));

    edit(mail);
    auto before = coordinator->state();
    coordinator->revealAllSecureFieldsViaOverride();
    EXPECT_EQ(coordinator->state(), before);
}

TEST_F(EntryDetailsCoordinatorTests, KeyCommandsFollowTheStateAndWhatIsPresented)
{
    auto mail = addItem("Mail");
    EXPECT_TRUE(keyInputs(*coordinator).empty());
    view(mail);
    EXPECT_EQ(keyInputs(*coordinator), std::vector<std::string> {"escapeKeyPressed"}) << "outside a split view";

    edit(mail);
    EXPECT_EQ(keyInputs(*coordinator), (std::vector<std::string> {"tabKeyPressed", "shiftTabKeyPressed+shift", "escapeKeyPressed"}));
    tapInput(MenuSource::systemField(SystemID::title));
    EXPECT_EQ(keyInputs(*coordinator), (std::vector<std::string> {"tabKeyPressed", "shiftTabKeyPressed+shift"}))
        << "Escape belongs to the text being typed";
    driver.press(String("Escape"));
    EXPECT_TRUE(coordinator->state().is<State::Editing>());

    coordinator->becomeFirstResponder();
    driver.press(String("Escape"));
    EXPECT_TRUE(coordinator->state().is<State::Viewing>());
}

TEST_F(EntryDetailsCoordinatorTests, EscapeAndCancelLoseEditsOnlyOnceTheUserConfirms)
{
    auto mail = addItem("Mail", "one");
    auto askedToDiscard = [&] {
        auto alert = std::dynamic_pointer_cast<Basalwork::AlertController>(coordinator->presentedViewController());
        return alert && alert->title() == String("Discard Changes?");
    };

    // Nothing changed: nothing to ask.
    edit(mail);
    coordinator->becomeFirstResponder();
    driver.press(String("Escape"));
    EXPECT_TRUE(coordinator->state().is<State::Viewing>());

    edit(mail);
    editing().editingContext->setText("Post", SystemID::title, mail);
    coordinator->becomeFirstResponder();
    driver.press(String("Escape"));
    ASSERT_TRUE(askedToDiscard());
    driver.chooseAlertAction(String("Keep Editing"));
    ASSERT_TRUE(coordinator->state().is<State::Editing>());
    EXPECT_EQ(edited().title, "Post");

    // The header's Cancel asks the same, and only the confirmed choice throws the edits away.
    tap("Cancel");
    ASSERT_TRUE(askedToDiscard());
    driver.chooseAlertAction(String("Discard Changes"));
    EXPECT_TRUE(coordinator->state().is<State::Viewing>());
    EXPECT_EQ(stored(mail).title, "Mail");
}

TEST_F(EntryDetailsCoordinatorTests, ATrashedItemIsOnlyReadWhicheverWayEditingIsAsked)
{
    auto mail = addItem("Mail");
    store->setTrashed({mail}, true);
    view(mail);
    window->layoutIfNeeded();
    EXPECT_FALSE(interaction.find(String("Edit"))) << "the header offers no edit";
    coordinator->didSelectEdit(header());
    driver.settle();
    EXPECT_TRUE(coordinator->state().is<State::Viewing>());
    coordinator->transitionToEdit(mail, true, std::nullopt, false);
    driver.settle();
    EXPECT_TRUE(coordinator->state().is<State::Viewing>());

    store->setTrashed({mail}, false);
    view(mail);
    tap("Edit");
    EXPECT_TRUE(coordinator->state().is<State::Editing>());
}

TEST_F(EntryDetailsCoordinatorTests, TheHeadersDuplicateShareAndArchiveConfirmAndThenAct)
{
    auto mail = addItem("Mail", "one");
    auto presentedTitle = [&]() -> std::string {
        auto alert = std::dynamic_pointer_cast<Basalwork::AlertController>(coordinator->presentedViewController());
        return alert && alert->title() ? alert->title()->utf8() : std::string();
    };
    view(mail);
    tap("Duplicate");
    EXPECT_EQ(presentedTitle(), "Duplicate Item?");
    driver.chooseAlertAction(String("Duplicate"));
    tap("Archive");
    EXPECT_EQ(presentedTitle(), "Archive?");
    driver.chooseAlertAction(String("Archive"));
    EXPECT_EQ(delegate->calls, (std::vector<std::string> {"duplicate true " + mail.utf8(), "archived true " + mail.utf8()}));

    tap("Share");
    EXPECT_EQ(presentedTitle(), "Share in Plain Text?");
    driver.chooseAlertAction(String("Share in Plain Text"));
    auto sheet = std::dynamic_pointer_cast<UIKit::UIActivityViewController>(coordinator->presentedViewController());
    ASSERT_TRUE(sheet);
    // Its Copy is a secret like the program's own copies: concealed, kept here, and cleared in time.
    sheet->perform(UIKit::UIActivityViewController::copyToPasteboard());
    driver.settle();
    const auto& pasteboard = UIKit::UIPasteboard::general();
    EXPECT_TRUE(pasteboard->isLocalOnly());
    EXPECT_TRUE(pasteboard->expirationDate().has_value());
    pasteboard->setItems({});

    // While editing, the confirmation comes once the keyboard has gone, and the edits are saved first.
    delegate->calls.clear();
    edit(mail);
    editing().editingContext->setText("Post", SystemID::title, mail);
    tap("Duplicate");
    driver.wait(0.25);
    EXPECT_EQ(presentedTitle(), "Duplicate Item?");
    driver.chooseAlertAction(String("Duplicate"));
    EXPECT_EQ(stored(mail).title, "Post");
    EXPECT_EQ(delegate->calls, std::vector<std::string> {"duplicate true " + mail.utf8()});
}

TEST_F(EntryDetailsCoordinatorTests, AsPopOverOnlyNoGeneratorShowsUnderThePasswordField)
{
    auto mail = addItem("Mail", "one");
    edit(mail);
    tapInput(MenuSource::systemField(SystemID::password));
    window->layoutIfNeeded();
    EXPECT_TRUE(interaction.find(String("Regenerate")));

    preferences->setInlineGenerator(Shared::Settings::ItemDetails::InlineGenerator::disabled);
    driver.settle();
    tapInput(MenuSource::systemField(SystemID::username));
    tapInput(MenuSource::systemField(SystemID::password));
    window->layoutIfNeeded();
    EXPECT_FALSE(interaction.find(String("Regenerate")));
}

TEST_F(EntryDetailsCoordinatorTests, TheHeadersButtonsShowWholeAtEveryWidthOnAsManyRowsAsTheyNeed)
{
    auto mail = addItem("Mail", "one");
    view(mail);
    for (double width : {1600.0, 680.0, 400.0}) {
        window->setFrame({0, 0, width, 700});
        window->layoutIfNeeded();
        for (const auto& title : header().buttonTitles()) {
            auto button = interaction.find<UIKit::UIButton>(title);
            ASSERT_TRUE(button) << title.utf8();
            const auto right = button->convertTo(UIKit::CGPoint {button->bounds().maxX(), 0}, nullptr).x;
            EXPECT_GE(button->bounds().size.width, button->intrinsicContentSize().width) << title.utf8() << " at " << width;
            EXPECT_LE(right, width) << title.utf8() << " at " << width;
        }
        EXPECT_GE(table().tableView()->frame().origin.y, header().frame().maxY()) << "the rows start under the header at " << width;
    }
}

TEST_F(EntryDetailsCoordinatorTests, TheInlineGeneratorTakesClicksWhereTheyAreDrawnAndStaysOpen)
{
    auto mail = addItem("Mail", "one");
    edit(mail);
    const auto password = MenuSource::systemField(SystemID::password);
    tapInput(password);
    window->layoutIfNeeded();
    auto stepper = interaction.find<UIKit::UIStepper>(String("InlineGenerator.length"));
    ASSERT_TRUE(stepper);
    // "[-|+]": the "+" is the fourth of its five cells.
    const auto length = stepper->value();
    interaction.tap(stepper, UIKit::CGPoint {3.5 * UIKit::TextGrid::columnWidth, stepper->bounds().midY()});
    driver.settle();
    window->layoutIfNeeded();
    stepper = interaction.find<UIKit::UIStepper>(String("InlineGenerator.length"));
    ASSERT_TRUE(stepper);
    EXPECT_EQ(stepper->value(), length + 1);

    auto symbols = interaction.find<UIKit::UISwitch>(String("InlineGenerator.symbols"));
    ASSERT_TRUE(symbols);
    const bool wasOn = symbols->isOn();
    tap("Symbols");
    symbols = interaction.find<UIKit::UISwitch>(String("InlineGenerator.symbols"));
    ASSERT_TRUE(symbols) << "the generator stays";
    EXPECT_NE(symbols->isOn(), wasOn);
    EXPECT_EQ(editing().inlineGeneratorSource, password);
}

TEST_F(EntryDetailsCoordinatorTests, AClickUnderTheOpenGeneratorLandsOnTheFieldDrawnThere)
{
    auto mail = addItem("Mail", "one");
    edit(mail);
    tapInput(MenuSource::systemField(SystemID::password));
    window->layoutIfNeeded();
    ASSERT_TRUE(interaction.find(String("Regenerate")));
    // The website's field where the open generator has pushed it; the generator goes as it takes the click.
    auto website = cell(MenuSource::systemField(SystemID::website));
    ASSERT_TRUE(website);
    driver.tap(website->textField());
    driver.type(String("mail.example"));
    EXPECT_EQ(edited().website, "mail.example");
    EXPECT_FALSE(interaction.find(String("Regenerate")));
}

TEST_F(EntryDetailsCoordinatorTests, TheLargeTypeEntryOfAFieldsMenuShowsDimmedWhileThereIsNoViewer)
{
    auto mail = addItem("Mail", "one");
    view(mail);
    std::function<std::shared_ptr<UIKit::UIAction>(const UIKit::UIMenu&)> largeType = [&](const UIKit::UIMenu& menu) -> std::shared_ptr<UIKit::UIAction> {
        for (const auto& element : menu.children()) {
            if (auto submenu = std::dynamic_pointer_cast<UIKit::UIMenu>(element))
                if (auto found = largeType(*submenu))
                    return found;
            if (auto action = std::dynamic_pointer_cast<UIKit::UIAction>(element); action && action->title() == String("Show in Large Type"))
                return action;
        }
        return nullptr;
    };
    auto menu = coordinator->menu(MenuSource::systemField(SystemID::password));
    ASSERT_TRUE(menu);
    auto action = largeType(*menu);
    ASSERT_TRUE(action);
    EXPECT_TRUE(action->attributes().contains(UIKit::UIMenuElement::Attributes::disabled()));
}

TEST_F(EntryDetailsCoordinatorTests, ReturnInTheNotesStartsANewLine)
{
    auto mail = addItem("Mail", "one");
    edit(mail);
    const auto notes = MenuSource::systemField(SystemID::notes);
    tapInput(notes);
    driver.type(String("first line"));
    driver.press(String("Return"));
    driver.type(String("second line"));
    EXPECT_EQ(edited().notes, "first line\nsecond line");
    auto row = cell(notes);
    ASSERT_TRUE(row);
    EXPECT_TRUE(row->textField()->isFirstResponder()) << "the notes keep the keyboard";
}

TEST_F(EntryDetailsCoordinatorTests, ARecordsResetLeavesEditingWithoutSaving)
{
    auto mail = addItem("Mail");
    edit(mail);
    editing().editingContext->setText("Post", SystemID::title, mail);
    inMemoryDependencies().notificationCenter->post(Shared::RecordStore::recordStoreDidPermanentlyResetLocalAndRemoteRecords(), store);
    driver.settle();
    EXPECT_TRUE(coordinator->state().is<State::Empty>());
    EXPECT_FALSE(coordinator->isModalInPresentation());
    EXPECT_EQ(stored(mail).title, "Mail");
}

TEST_F(EntryDetailsCoordinatorTests, AnOTPAuthLinkFillsOnlyWhatIsEmptyAndOnlyWhileEditing)
{
    auto url = *Foundation::URL::string("otpauth://totp/Example:alice@example.com?secret=JBSWY3DPEHPK3PXP&issuer=Example");
    auto mail = addItem("Mail");
    view(mail);
    coordinator->attemptToUpdate(url, false);
    EXPECT_TRUE(stored(mail).totpSecretKey.isEmpty());

    edit(mail);
    coordinator->attemptToUpdate(url, true);
    driver.wait(1);
    auto entry = edited();
    EXPECT_EQ(entry.title, "Mail");
    EXPECT_EQ(entry.username, "alice@example.com");
    EXPECT_EQ(entry.website, "Example");
    EXPECT_EQ(entry.totpSecretKey, url.absoluteString());

    coordinator->attemptToUpdate(url, false);
    ASSERT_EQ(edited().serviceIdentifiers.size(), 1u);
    EXPECT_EQ(edited().serviceIdentifiers[0].host, "Example")
        << "a website already there: the issuer's host becomes a service identifier";
}

} // namespace
} // namespace CorvendaleTests
