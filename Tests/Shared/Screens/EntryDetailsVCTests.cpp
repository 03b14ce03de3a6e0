#include "Tests/Shared/RecordStoreFixture.hpp"

#include "Shared/EntryDetailsTVC.Cell.hpp"
#include "Shared/EntryDetailsTVC.hpp"
#include "Shared/EntryDetailsVC.hpp"
#include "Shared/EntryDetailsVCDelegate.hpp"
#include "Shared/EntryDetailsVHeaderV.hpp"
#include "Shared/TOTP.hpp"

#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/Driver.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using Foundation::make;
using Foundation::String;
using Shared::EntryDetailsTVC;
using Shared::EntryDetailsVC;
using Shared::MenuSource;
using State = Shared::EntryDetailsVCState;
using SystemID = Shared::EntrySystemField::ID;

namespace {

std::string describe(const MenuSource& source)
{
    if (const auto* field = source.as<MenuSource::SystemField>())
        return "system " + std::to_string(static_cast<int>(field->id));
    if (const auto* header = source.as<MenuSource::Header>())
        return "header " + std::to_string(static_cast<int>(header->item));
    if (const auto* field = source.as<MenuSource::CustomField>())
        return "field " + std::to_string(field->id.section) + "." + std::to_string(field->id.index);
    return "source " + std::to_string(source.caseIndex());
}

// Records every requirement; as the coordinator does, typed text goes into the editing context and the
// state is pushed again.
class Owner : public Foundation::NSObject, public Shared::EntryDetailsVCDelegate {
public:
    std::vector<std::string> calls;
    std::function<void(const String&, const MenuSource&)> onText;

    void didSelect(const MenuSource& s, const std::shared_ptr<UIKit::UIView>&, UIKit::CGRect, EntryDetailsTVC&) override
    {
        calls.push_back("select " + describe(s));
    }
    std::shared_ptr<UIKit::UIMenu> menu(const MenuSource& s, EntryDetailsTVC&) override
    {
        calls.push_back("menu " + describe(s));
        return make<UIKit::UIMenu>(String("Field"), std::vector<std::shared_ptr<UIKit::UIMenuElement>> {});
    }
    void didBeginEditingText(const MenuSource& s, EntryDetailsTVC&) override { calls.push_back("begin " + describe(s)); }
    void didEndEditingText(const MenuSource& s, EntryDetailsTVC&) override { calls.push_back("end " + describe(s)); }
    void didUpdate(const String& text, const MenuSource& s, EntryDetailsTVC&) override
    {
        calls.push_back("text " + describe(s) + " " + text.utf8());
        if (onText)
            onText(text, s);
    }
    void didRequestInputAdvance(const MenuSource& s, EntryDetailsTVC&) override { calls.push_back("advance " + describe(s)); }
    void didSelect(const Foundation::URL&, const MenuSource& s, EntryDetailsTVC&) override { calls.push_back("file " + describe(s)); }
    void didFailToSelectFileURL(const Foundation::ErrorPtr&, const MenuSource& s, EntryDetailsTVC&) override
    {
        calls.push_back("fileFailure " + describe(s));
    }
    void didRequestDocumentPicker(const MenuSource& s, EntryDetailsTVC&) override { calls.push_back("picker " + describe(s)); }
    void didSelectClear(const MenuSource& s, EntryDetailsTVC&) override { calls.push_back("clear " + describe(s)); }
    void didSelectQuickAction(const MenuSource& s, EntryDetailsTVC&) override { calls.push_back("quick " + describe(s)); }
    void didUpdate(bool isSafe, EntryDetailsTVC&) override { calls.push_back(std::string("safe ") + (isSafe ? "on" : "off")); }
    void regeneratePasswordOrPIN(const MenuSource&, EntryDetailsTVC&) override {}
    void didUpdateGeneratorLength(std::int64_t, const MenuSource&, EntryDetailsTVC&) override {}
    void didUpdateGeneratorCount(std::int64_t, const MenuSource&, EntryDetailsTVC&) override {}
    void didUpdateGeneratorIncludesNumbers(bool, const MenuSource&, EntryDetailsTVC&) override {}
    void didUpdateGeneratorIncludesSymbols(bool, const MenuSource&, EntryDetailsTVC&) override {}
    void didUpdateGeneratorSeparator(const String&, const MenuSource&, EntryDetailsTVC&) override {}
    void didUpdate(const Shared::PasswordGenerator&, const MenuSource&, EntryDetailsTVC&) override {}
    std::optional<Foundation::URL> fileURLForDragging(const MenuSource&, EntryDetailsTVC&) override { return std::nullopt; }
    bool isSectionEditing(EntryDetailsTVC&) override { return false; }
    bool isFieldEditing(EntryDetailsTVC&) override { return false; }
    void didMoveField(Shared::EntryField::ID, Shared::EntryField::ID, EntryDetailsTVC&) override {}
    void didMoveSection(std::int64_t, std::int64_t, EntryDetailsTVC&) override {}
    std::shared_ptr<Shared::TagStore> tagStore(EntryDetailsTVC&) override { return nullptr; }
    void didSelectPinWindow(Shared::EntryDetailsVHeaderV&) override { calls.push_back("pin"); }
    void didSelectLock(Shared::EntryDetailsVHeaderV&) override { calls.push_back("lock"); }
    void didSelectDismiss(Shared::EntryDetailsVHeaderV&) override { calls.push_back("dismiss"); }
    void didSelectCancel(Shared::EntryDetailsVHeaderV&) override { calls.push_back("cancel"); }
    void didSelectEdit(Shared::EntryDetailsVHeaderV&) override { calls.push_back("edit"); }
    void didSelectDone(Shared::EntryDetailsVHeaderV&) override { calls.push_back("done"); }
    void didSelectRestore(Shared::EntryDetailsVHeaderV&) override { calls.push_back("restore"); }

protected:
    friend Foundation::Construct;
    Owner() = default;
};

class EntryDetailsVCTests : public ::testing::Test {
protected:
    void SetUp() override
    {
        SharedTests::removeApplicationGroup();
        vault = std::make_unique<SharedTests::Vault>();
        vault->cryptor->unlock(Shared::Cryptor::Key::random());
        store = SharedTests::openRecordStore(*vault);
        window->setFrame({0, 0, 1000, 900});
        vc->setDelegate(owner);
        window->setRootViewController(vc);
        window->makeKeyAndVisible();
    }

    void push(State state)
    {
        vc->stateDidChange();
        vc->update(std::move(state), Shared::AppExecutionContext::extension(), vault->preferenceStore, store, false, false, nullptr);
        window->layoutIfNeeded();
        driver.settle();
    }
    State viewing(const String& id, Shared::EntryDetailsVCConcealState conceal = {})
    {
        return State::Viewing {id, store, conceal, {}, std::nullopt, Shared::EntryDetailsVCBackButtonVisibility::hidden};
    }
    // The value a row shows, by its title.
    String shown(const char* title)
    {
        for (const auto& section : vc->entryDetailsTVC()->sections())
            for (const auto& row : section.rows)
                if (row.title == String(title))
                    return row.displayedValue();
        ADD_FAILURE() << "No row " << title;
        return String();
    }
    std::shared_ptr<Shared::EntryDetailsTVCCell> cell(std::int64_t row, std::int64_t section = 0)
    {
        return std::dynamic_pointer_cast<Shared::EntryDetailsTVCCell>(
            vc->entryDetailsTVC()->tableView()->cellForRow(Foundation::IndexPath::withRow(row, section)));
    }

    std::unique_ptr<SharedTests::Vault> vault;
    std::shared_ptr<Shared::RecordStore> store;
    std::shared_ptr<UIKit::UIWindowScene> scene = make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = make<UIKit::UIWindow>(scene);
    std::shared_ptr<EntryDetailsVC> vc = make<EntryDetailsVC>();
    std::shared_ptr<Owner> owner = make<Owner>();
    TestSupport::Driver driver {scene};
};

} // namespace

TEST_F(EntryDetailsVCTests, SecretsStayMaskedUntilRevealedByIdentifierModeOrOverride)
{
    auto id = SharedTests::addEntry(*store, "Bank", "s3cret-pass", [](auto& context, const String& id) {
        context.setText(String("me@example.com"), SystemID::username, id);
    });
    push(viewing(id));
    EXPECT_EQ(vc->headerV()->titleLabel()->text(), String("Bank"));
    EXPECT_EQ(shown("Username"), String("me@example.com"));
    EXPECT_EQ(shown("Password"), String("••••••••"));
    EXPECT_FALSE(driver.core().find(String("s3cret-pass")));

    auto revealID = *MenuSource::systemField(SystemID::password).revealConcealID();
    auto revealed = vc->state().revealing(revealID);
    push(revealed);
    EXPECT_EQ(shown("Password"), String("s3cret-pass"));
    push(revealed.concealing(revealID));
    EXPECT_EQ(shown("Password"), String("••••••••"));
    push(vc->state().revealingAllSecureEntryFieldsViaOverride());
    EXPECT_EQ(shown("Password"), String("s3cret-pass"));
    push(vc->state().removingConcealStateOverrides());
    EXPECT_EQ(shown("Password"), String("••••••••"));
    push(viewing(id, Shared::EntryDetailsVCConcealState().withMode(Shared::EntryDetailsVCConcealState::Mode::disabled)));
    EXPECT_EQ(shown("Password"), String("s3cret-pass"));
}

TEST_F(EntryDetailsVCTests, TheOneTimeCodeChangesAtThePeriodBoundaryAndNotBefore)
{
    const char* secret = "GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ";
    auto id = SharedTests::addEntry(*store, "Mail", "", [&](auto& context, const String& id) {
        context.setText(String(secret), SystemID::totpSecretKey, id);
    });
    // Ten seconds into a period.
    double now = Foundation::Date::now().timeIntervalSince1970();
    TestSupport::advanceClock(30 - std::fmod(now, 30) + 10);
    push(viewing(id));
    auto code = Shared::TOTP(String(secret)).generateFormatted(Foundation::Date::now());
    auto codeRow = cell(1);
    ASSERT_TRUE(codeRow);
    EXPECT_EQ(codeRow->valueLabel()->text(), code);
    TestSupport::advanceClock(19.5);
    EXPECT_EQ(codeRow->valueLabel()->text(), code);
    TestSupport::advanceClock(0.5);
    auto next = Shared::TOTP(String(secret)).generateFormatted(Foundation::Date::now());
    ASSERT_NE(next, code);
    EXPECT_EQ(codeRow->valueLabel()->text(), next);
}

TEST_F(EntryDetailsVCTests, TypingWhileEditingReportsEachChangeAndKeepsTheKeyboard)
{
    auto id = SharedTests::addEntry(*store, "Bank", "old");
    auto context = store->makeEditingContext();
    context->prepareForEditing(id);
    State editing = State::Editing {{id, context}};
    owner->onText = [&](const String& text, const MenuSource& source) {
        if (const auto* field = source.as<MenuSource::SystemField>())
            context->setText(text, field->id, id);
        push(editing);
    };
    push(editing);
    EXPECT_EQ(vc->headerV()->buttonTitles().front(), String("Cancel"));
    vc->select(MenuSource::systemField(SystemID::title), false);
    driver.settle();
    driver.type(String("!"));
    EXPECT_EQ(context->entry(id)->title, String("Bank!"));
    EXPECT_TRUE(cell(0)->textField()->isFirstResponder());
    driver.press(String("Return"));
    vc->selectPreviousInput(false);
    driver.settle();
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"begin system 0", "text system 0 Bank!", "advance system 0", "end system 0",
                                                       "begin system 6"}));
    // The safe-for-inspection switch and the add buttons report too.
    owner->calls.clear();
    driver.tap(String("Add One-Time Password"));
    driver.tap(String("Done"));
    driver.tap(String("Cancel"));
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"select source 9", "done", "cancel"}));
}

TEST_F(EntryDetailsVCTests, TheHeaderAndTheRowsReportTheirSources)
{
    auto id = SharedTests::addEntry(*store, "Bank", "pw");
    push(viewing(id));
    EXPECT_EQ(vc->headerV()->buttonTitles(),
              (std::vector<String> {String("Edit"), String("Favorite"), String("Duplicate"), String("Share"), String("Archive"),
                                    String("Move to Trash"), String("Lock"), String("Pin Window")}));
    driver.tap(String("Edit"));
    driver.tap(String("Favorite"));
    driver.tap(String("Lock"));
    driver.tap(cell(0));
    driver.press(String("Return"));
    driver.openContextMenu(String("Password"));
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"edit", "select header 0", "lock", "select system 0", "quick system 0", "menu system 3"}));
}

TEST_F(EntryDetailsVCTests, StatesWithoutOneItemAndItemsThatWentAwayShowSafely)
{
    push(State::Empty {});
    EXPECT_TRUE(driver.core().find(String("No Item Selected")));
    push(State::MultipleSelection {{String("a"), String("b"), String("c")}, store});
    EXPECT_TRUE(driver.core().find(String("3 Items Selected")));
    EXPECT_EQ(vc->headerV()->buttonTitles(), (std::vector<String> {String("Lock"), String("Pin Window")}));

    // Deleted meanwhile, and awkward texts.
    push(viewing(String("gone")));
    EXPECT_TRUE(driver.core().find(String("This item no longer exists.")));
    String awkward(std::string(3000, 'w') + "\u202e\x01\t مرحبا");
    auto id = SharedTests::addEntry(*store, awkward, awkward);
    push(viewing(id));
    EXPECT_EQ(vc->headerV()->titleLabel()->text(), awkward);
    auto empty = SharedTests::addEntry(*store, "");
    push(viewing(empty));
    EXPECT_EQ(vc->headerV()->titleLabel()->text(), String("Untitled"));
    EXPECT_TRUE(owner->calls.empty());
}

TEST(EntryDetailsVCState, TransformsApplyToViewingAndAutoFillFollowsTheStore)
{
    using Conceal = Shared::EntryDetailsVCConcealState;
    auto conceal = Conceal().revealing(String("a")).revealing(String("a")).revealing(String("b"));
    EXPECT_EQ(conceal.revealedIDs().size(), 2u);
    EXPECT_FALSE(conceal.isConcealed(String("a")));
    EXPECT_TRUE(conceal.isConcealed(String("c")));
    EXPECT_EQ(conceal.clearingRevealedIDs(false), conceal);
    EXPECT_TRUE(conceal.clearingRevealedIDs().isConcealed(String("a")));
    EXPECT_FALSE(conceal.withMode(Conceal::Mode::disabled).isConcealed(String("c")));

    Shared::EntryDetailsVCHistoryVisibility history;
    EXPECT_TRUE(history.showing(String("Password")).isShowing(String("Password")));
    EXPECT_FALSE(history.showing(String("Password")).hiding(String("Password")).isShowing(String("Password")));

    State empty = State::Empty {};
    EXPECT_EQ(empty.revealing(String("a")), empty);
    EXPECT_EQ(empty.showingHistory(String("a")), empty);
    EXPECT_EQ(empty.entry(), std::nullopt);

    using Availability = Shared::RecordStoreAutoFillAvailability;
    using Domains = Shared::EntryDetailsVCAutoFillDomainsState;
    State editing = State::Editing {{String("id"), nullptr}};
    auto disabled = editing.with(Availability::disabled, true);
    EXPECT_EQ(disabled.editingPayload()->autoFillDomains, Domains::disabled);
    EXPECT_EQ(disabled.autoFillAvailability(), Availability::disabled);
    auto shown = disabled.with(Availability::enabled, true);
    EXPECT_EQ(shown.editingPayload()->autoFillDomains, Domains::shown);
    EXPECT_EQ(shown.with(Availability::enabled, std::nullopt).editingPayload()->autoFillDomains, Domains::shown);
    EXPECT_EQ(shown.with(Availability::enabled, false).editingPayload()->autoFillDomains, Domains::hidden);
    EXPECT_EQ(editing.entry(), std::nullopt);

    State viewing = State::Viewing {String("id"), nullptr, {}, {}, std::nullopt, Shared::EntryDetailsVCBackButtonVisibility::hidden};
    EXPECT_EQ(viewing.autoFillAvailability(), std::nullopt);
    EXPECT_EQ(viewing.with(Availability::enabled, true).autoFillAvailability(), Availability::enabled);
    EXPECT_EQ(viewing.with(Availability::disabled, true).autoFillAvailability(), std::nullopt);
    EXPECT_TRUE(viewing.revealingAllSecureEntryFieldsViaOverride().concealState()->isOverridingConcealment());
}

TEST_F(EntryDetailsVCTests, HistoriesAndCustomSecretsShowOnlyAsTheStateSays)
{
    Shared::EntryField::ID pinID {};
    auto id = SharedTests::addEntry(*store, "Bank", "first", [&](auto& context, const String& id) {
        auto section = context.insertSectionBelow(-1, Shared::Entry::Section::Template::blank, id);
        pinID = context.appendField(section, Shared::Entry::Field::Category::pin, id);
        context.setText(String("4321"), pinID, id);
    });
    auto context = store->makeEditingContext();
    context->prepareForEditing(id);
    context->setText(String("second"), SystemID::password, id);
    context->save();

    push(viewing(id));
    EXPECT_EQ(shown("PIN"), String("••••••••"));
    auto previous = store->entry(id)->passwordHistory;
    ASSERT_EQ(previous.size(), 1u);
    auto countRows = [&](const char* title) {
        std::int64_t count = 0;
        for (const auto& section : vc->entryDetailsTVC()->sections())
            for (const auto& row : section.rows)
                count += row.title == String(title);
        return count;
    };
    EXPECT_EQ(countRows("Previous Password"), 0);

    auto historyID = *MenuSource::systemField(SystemID::password).historyVisibilityID();
    push(vc->state().showingHistory(historyID));
    EXPECT_EQ(countRows("Previous Password"), 1);
    EXPECT_EQ(shown("Previous Password"), String("••••••••"));
    push(vc->state().revealing(*MenuSource::previousPassword(previous[0].id).revealConcealID()));
    EXPECT_EQ(shown("Previous Password"), String("first"));
    EXPECT_EQ(shown("Password"), String("••••••••"));
    push(vc->state().revealing(*MenuSource::customField(pinID, Shared::Entry::Field::Category::pin).revealConcealID()));
    EXPECT_EQ(shown("PIN"), String("4321"));
    push(vc->state().hidingHistory(historyID));
    EXPECT_EQ(countRows("Previous Password"), 0);
}
