#include "Tests/Shared/Stores/RecordStoreFixture.hpp"

#include "Shared/Model/TOTP.hpp"
#include "Shared/Screens/EntryDetailsTVC.Cell.hpp"
#include "Shared/Screens/EntryDetailsTVC.ReorderControl.hpp"
#include "Shared/Screens/EntryDetailsTVC.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Screens/EntryDetailsVCDelegate.hpp"
#include "Shared/Screens/EntryDetailsVHeaderV.hpp"
#include "Shared/Screens/FileURLInput.hpp"
#include "Shared/Stores/TagStore.hpp"

#include "Platform/Foundation/NSItemProvider.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UISegmentedControl.hpp"
#include "Platform/UIKit/UIStepper.hpp"
#include "Platform/UIKit/UISwitch.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/Driver.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
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
    if (const auto* title = source.as<MenuSource::CustomFieldTitle>())
        return "title " + std::to_string(title->id.section) + "." + std::to_string(title->id.index);
    if (const auto* section = source.as<MenuSource::Section>())
        return "section " + std::to_string(section->index);
    return "source " + std::to_string(source.index());
}

// Records every requirement; as the coordinator does, typed text goes into the editing context and the
// state is pushed again.
class Owner : public Foundation::NSObject, public Shared::EntryDetailsVCDelegate {
public:
    std::vector<std::string> calls;
    std::function<void(const String&, const MenuSource&)> onText;
    std::function<void(const MenuSource&)> onBegin;
    std::function<void(const MenuSource&)> onRegenerate;
    std::function<void(Shared::EntryField::ID, Shared::EntryField::ID)> onMoveField;
    std::function<void(std::int64_t, std::int64_t)> onMoveSection;

    void didSelect(const MenuSource& s, const std::shared_ptr<UIKit::UIView>&, UIKit::CGRect, EntryDetailsTVC&) override
    {
        calls.push_back("select " + describe(s));
    }
    std::shared_ptr<UIKit::UIMenu> menu(const MenuSource& s, EntryDetailsTVC&) override
    {
        calls.push_back("menu " + describe(s));
        return make<UIKit::UIMenu>(String("Field"), std::vector<std::shared_ptr<UIKit::UIMenuElement>> {});
    }
    void didBeginEditingText(const MenuSource& s, EntryDetailsTVC&) override
    {
        calls.push_back("begin " + describe(s));
        if (onBegin)
            onBegin(s);
    }
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
    void regeneratePasswordOrPIN(const MenuSource& s, EntryDetailsTVC&) override
    {
        calls.push_back("regenerate " + describe(s));
        if (onRegenerate)
            onRegenerate(s);
    }
    void didUpdateGeneratorLength(std::int64_t length, const MenuSource& s, EntryDetailsTVC&) override
    {
        calls.push_back("length " + std::to_string(length) + " " + describe(s));
    }
    void didUpdateGeneratorCount(std::int64_t count, const MenuSource& s, EntryDetailsTVC&) override
    {
        calls.push_back("count " + std::to_string(count) + " " + describe(s));
    }
    void didUpdateGeneratorIncludesNumbers(bool on, const MenuSource& s, EntryDetailsTVC&) override
    {
        calls.push_back(std::string("numbers ") + (on ? "on " : "off ") + describe(s));
    }
    void didUpdateGeneratorIncludesSymbols(bool on, const MenuSource& s, EntryDetailsTVC&) override
    {
        calls.push_back(std::string("symbols ") + (on ? "on " : "off ") + describe(s));
    }
    void didUpdateGeneratorSeparator(const String& separator, const MenuSource& s, EntryDetailsTVC&) override
    {
        calls.push_back("separator '" + separator.utf8() + "' " + describe(s));
    }
    void didUpdate(const Shared::PasswordGenerator& settings, const MenuSource& s, EntryDetailsTVC&) override
    {
        calls.push_back("kind " + std::to_string(static_cast<int>(settings.kind)) + " " + describe(s));
    }
    std::shared_ptr<Foundation::NSItemProvider> draggedItem;
    std::shared_ptr<Foundation::NSItemProvider> itemProviderForDragging(const MenuSource& s, EntryDetailsTVC&) override
    {
        calls.push_back("drag " + describe(s));
        return draggedItem;
    }
    bool isSectionEditing(EntryDetailsTVC&) override { return false; }
    bool isFieldEditing(EntryDetailsTVC&) override { return false; }
    void didMoveField(Shared::EntryField::ID from, Shared::EntryField::ID to, EntryDetailsTVC&) override
    {
        calls.push_back("moveField " + std::to_string(from.section) + "." + std::to_string(from.index) + " to " + std::to_string(to.section)
                        + "." + std::to_string(to.index));
        if (onMoveField)
            onMoveField(from, to);
    }
    void didMoveSection(std::int64_t from, std::int64_t to, EntryDetailsTVC&) override
    {
        calls.push_back("moveSection " + std::to_string(from) + " to " + std::to_string(to));
        if (onMoveSection)
            onMoveSection(from, to);
    }
    std::shared_ptr<Shared::TagStore> tags;
    std::shared_ptr<Shared::TagStore> tagStore(EntryDetailsTVC&) override { return tags; }
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
    // The cell of a source's row (its first, for a field that shows the generator under it).
    std::shared_ptr<Shared::EntryDetailsTVCCell> cell(const MenuSource& source)
    {
        const auto& sections = vc->entryDetailsTVC()->sections();
        for (std::size_t section = 0; section < sections.size(); ++section)
            for (std::size_t row = 0; row < sections[section].rows.size(); ++row)
                if (sections[section].rows[row].source == source)
                    return cell(static_cast<std::int64_t>(row), static_cast<std::int64_t>(section));
        ADD_FAILURE() << "No row is " << describe(source);
        return nullptr;
    }
    // As the owner does: typed text goes into the editing context and the state is pushed again.
    void keepTyping(std::shared_ptr<Shared::RecordStore::EditingContext> context, String id, State editing)
    {
        owner->onText = [this, context, id, editing](const String& text, const MenuSource& source) {
            if (const auto* field = source.as<MenuSource::SystemField>())
                context->setText(text, field->id, id);
            else if (const auto* title = source.as<MenuSource::CustomFieldTitle>())
                context->setFieldTitle(text, title->id, id);
            else if (const auto* section = source.as<MenuSource::Section>())
                context->setSectionTitle(text, section->index, id);
            push(editing);
        };
    }
    // The lighter update the owner makes after a move.
    void pushMoved(State state)
    {
        vc->updateWithoutReloading(std::move(state), Shared::AppExecutionContext::extension(), vault->preferenceStore, store, false);
    }
    // What a table section shows, top to bottom, as drawn.
    std::vector<std::string> drawn(std::int64_t section)
    {
        window->layoutIfNeeded();
        std::vector<std::string> texts;
        auto table = vc->entryDetailsTVC()->tableView();
        for (std::int64_t row = 0; row < table->numberOfRows(section); ++row)
            if (auto shown = cell(row, section))
                texts.push_back(shown->valueLabel()->text().value_or(String()).utf8());
        return texts;
    }
    // A finger down on the handle, moved onto the other view, and lifted there.
    void drag(const std::shared_ptr<UIKit::UIView>& handle, const std::shared_ptr<UIKit::UIView>& onto)
    {
        window->layoutIfNeeded();
        auto center = [](const std::shared_ptr<UIKit::UIView>& view) {
            auto bounds = view->bounds();
            return view->convertTo(UIKit::CGPoint {bounds.midX(), bounds.midY()}, nullptr);
        };
        auto touch = UIKit::UIEventDriver::touchDown(window, center(handle));
        UIKit::UIEventDriver::touchMove(touch, center(onto));
        UIKit::UIEventDriver::touchUp(touch);
        driver.settle();
    }
    std::vector<std::string> callsStartingWith(const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const auto& call : owner->calls)
            if (call.starts_with(prefix))
                found.push_back(call);
        return found;
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
    keepTyping(context, id, editing);
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
    // A field's end is heard once the next field has the keyboard.
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"begin system 0", "text system 0 Bank!", "advance system 0", "begin system 9",
                                                       "end system 0"}));
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

TEST_F(EntryDetailsVCTests, AFieldMovedByItsHandleOrTheKeysIsReportedOnceAndStaysWhereItWent)
{
    using Category = Shared::Entry::Field::Category;
    // Blank sections, each starting with one empty field.
    auto id = SharedTests::addEntry(*store, "Bank", "", [](auto& context, const String& id) {
        auto first = context.insertSectionBelow(-1, Shared::Entry::Section::Template::blank, id);
        context.setText(String("a"), Shared::EntryField::ID {first, 0}, id);
        for (const char* text : {"b", "c"})
            context.setText(String(text), context.appendField(first, Category::text, id), id);
        auto second = context.insertSectionBelow(first, Shared::Entry::Section::Template::blank, id);
        context.setText(String("d"), Shared::EntryField::ID {second, 0}, id);
    });
    auto context = store->makeEditingContext();
    context->prepareForEditing(id);
    State moving = State::FieldEditing {{id, context}};
    owner->onMoveField = [&](Shared::EntryField::ID from, Shared::EntryField::ID to) {
        context->moveField(from, to, id);
        pushMoved(moving);
    };
    auto stored = [&](std::size_t section) {
        std::vector<std::string> texts;
        auto entry = context->entry(id);
        for (const auto& field : entry->sections.at(section).fields)
            texts.push_back(field.text.utf8());
        return texts;
    };
    push(moving);
    // Each section leads with its (empty) title.
    EXPECT_EQ(drawn(1), (std::vector<std::string> {"", "a", "b", "c"}));
    EXPECT_EQ(drawn(2), (std::vector<std::string> {"", "d"}));

    // Dragged by its handle onto the last field of its section: it takes that place.
    drag(cell(1, 1)->reorderControl(), cell(3, 1));
    EXPECT_EQ(stored(0), (std::vector<std::string> {"b", "c", "a"}));
    EXPECT_EQ(drawn(1), (std::vector<std::string> {"", "b", "c", "a"}));
    // Onto another section's title: first in that section.
    drag(cell(1, 1)->reorderControl(), cell(0, 2));
    EXPECT_EQ(stored(0), (std::vector<std::string> {"c", "a"}));
    EXPECT_EQ(stored(1), (std::vector<std::string> {"b", "d"}));
    EXPECT_EQ(drawn(2), (std::vector<std::string> {"", "b", "d"}));

    // The keys move the selected field a place at a time, across the end of its section.
    driver.tap(cell(2, 1));
    auto keys = UIKit::UIKeyModifierFlags::alternate() | UIKit::UIKeyModifierFlags::command();
    driver.press(String("Down"), keys);
    EXPECT_EQ(stored(0), (std::vector<std::string> {"c"}));
    EXPECT_EQ(stored(1), (std::vector<std::string> {"a", "b", "d"}));
    driver.press(String("Down"), keys);
    driver.press(String("Down"), keys);
    driver.press(String("Down"), keys);
    EXPECT_EQ(stored(1), (std::vector<std::string> {"b", "d", "a"}));
    driver.press(String("Up"), keys);
    EXPECT_EQ(stored(1), (std::vector<std::string> {"b", "a", "d"}));
    EXPECT_EQ(drawn(2), (std::vector<std::string> {"", "b", "a", "d"}));
    EXPECT_EQ(callsStartingWith("move"), (std::vector<std::string> {"moveField 0.0 to 0.2", "moveField 0.0 to 1.0", "moveField 0.1 to 1.0",
                                                                   "moveField 1.0 to 1.1", "moveField 1.1 to 1.2", "moveField 1.2 to 1.1"}));
    // The rows keep their places when the owner pushes the state again.
    push(moving);
    EXPECT_EQ(drawn(2), (std::vector<std::string> {"", "b", "a", "d"}));
}

TEST_F(EntryDetailsVCTests, ASectionMovedByItsHandleOrTheKeysIsReportedOnce)
{
    using Template = Shared::Entry::Section::Template;
    auto id = SharedTests::addEntry(*store, "Bank", "", [](auto& context, const String& id) {
        auto first = context.insertSectionBelow(-1, Template::address, id);
        auto second = context.insertSectionBelow(first, Template::server, id);
        context.insertSectionBelow(second, Template::wirelessNetwork, id);
    });
    auto context = store->makeEditingContext();
    context->prepareForEditing(id);
    State moving = State::SectionEditing {{id, context}};
    owner->onMoveSection = [&](std::int64_t from, std::int64_t to) {
        context->moveSection(from, to, id);
        pushMoved(moving);
    };
    auto titles = [&] {
        std::vector<std::string> texts;
        auto entry = context->entry(id);
        for (const auto& section : entry->sections)
            texts.push_back(section.title.value_or(String()).utf8());
        return texts;
    };
    auto address = Shared::titleText(Template::address).utf8();
    auto server = Shared::titleText(Template::server).utf8();
    auto wireless = Shared::titleText(Template::wirelessNetwork).utf8();
    push(moving);
    // Sections are rearranged by their titles alone.
    EXPECT_EQ(drawn(1), (std::vector<std::string> {address}));

    drag(cell(0, 1)->reorderControl(), cell(0, 3));
    EXPECT_EQ(titles(), (std::vector<std::string> {server, wireless, address}));
    EXPECT_EQ(drawn(3), (std::vector<std::string> {address}));
    driver.press(String("Up"), UIKit::UIKeyModifierFlags::alternate() | UIKit::UIKeyModifierFlags::command());
    EXPECT_EQ(titles(), (std::vector<std::string> {server, address, wireless}));
    EXPECT_EQ(drawn(2), (std::vector<std::string> {address}));
    EXPECT_EQ(callsStartingWith("move"), (std::vector<std::string> {"moveSection 0 to 2", "moveSection 2 to 1"}));
}

TEST_F(EntryDetailsVCTests, TheInlineGeneratorKeepsTheKeyboardAndItsValueReachesTheField)
{
    using Category = Shared::Entry::Field::Category;
    Shared::EntryField::ID pinID {};
    auto id = SharedTests::addEntry(*store, "Bank", "old", [&](auto& context, const String& id) {
        auto section = context.insertSectionBelow(-1, Shared::Entry::Section::Template::blank, id);
        pinID = context.appendField(section, Category::pin, id);
    });
    auto context = store->makeEditingContext();
    context->prepareForEditing(id);
    State::Editing editing {{id, context}};
    // As the owner does: the field being typed into shows the generator, and a new value goes into it.
    owner->onBegin = [&](const MenuSource& source) {
        editing.inlineGeneratorSource = source;
        push(editing);
    };
    owner->onRegenerate = [&](const MenuSource& source) {
        auto settings = vault->preferenceStore->passwordGenerator();
        if (const auto* field = source.as<MenuSource::CustomField>())
            context->setText(settings.pin.generate(), field->id, id);
        else
            context->setText(settings.generate(), SystemID::password, id);
        push(editing);
    };
    auto password = MenuSource::systemField(SystemID::password);
    push(editing);
    EXPECT_FALSE(driver.core().find(String("Regenerate")));
    vc->select(password, false);
    driver.settle();
    ASSERT_TRUE(driver.core().find(String("Regenerate")));
    EXPECT_TRUE(cell(password)->textField()->isFirstResponder());

    driver.tap(String("Regenerate"));
    auto generated = context->entry(id)->password;
    EXPECT_EQ(generated.count(), 20);
    EXPECT_EQ(cell(password)->textField()->text(), generated);
    EXPECT_TRUE(cell(password)->textField()->isFirstResponder());

    // Each option reports its requirement with the field; the owner stores it and pushes again.
    auto generator = driver.core().find<Shared::EntryDetailsTVCInlineGeneratorV>(String("InlineGenerator"));
    ASSERT_TRUE(generator);
    auto stepper = generator->stepper();
    driver.core().tap(stepper, {stepper->bounds().size.width - 5, 5});
    driver.tap(String("InlineGenerator.numbers"));
    auto kinds = generator->kindControl();
    driver.core().tap(kinds, {kinds->bounds().size.width * 5 / 6, 5});
    auto settings = vault->preferenceStore->passwordGenerator();
    settings.kind = Shared::PasswordGenerator::Kind::words;
    vault->preferenceStore->setPasswordGenerator(settings);
    push(editing);
    driver.core().tap(stepper, {5, 5});
    auto separators = driver.core().find<UIKit::UISegmentedControl>(String("InlineGenerator.separator"));
    ASSERT_TRUE(separators);
    driver.core().tap(separators, {separators->bounds().size.width * 9 / 10, 5});
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"begin system 3", "regenerate system 3", "length 21 system 3", "numbers off system 3",
                                                       "kind 2 system 3", "count 4 system 3", "separator ' ' system 3"}));

    // A PIN field offers only its digits.
    owner->calls.clear();
    auto pin = MenuSource::customField(pinID, Category::pin);
    vc->select(pin, false);
    driver.settle();
    EXPECT_TRUE(cell(pin)->textField()->isFirstResponder());
    generator = driver.core().find<Shared::EntryDetailsTVCInlineGeneratorV>(String("InlineGenerator"));
    ASSERT_TRUE(generator);
    EXPECT_TRUE(generator->kindControl()->isHidden());
    EXPECT_EQ(generator->countLabel()->text(), String("Digits: 6"));
    driver.core().tap(generator->stepper(), {generator->stepper()->bounds().size.width - 5, 5});
    driver.tap(String("Regenerate"));
    EXPECT_EQ(context->entry(id)->field(pinID).text.count(), 6);
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"begin field 0.1", "end system 3", "count 7 field 0.1", "regenerate field 0.1"}));
}

TEST(EntryDetailsVCState, CasesKeepTheirPositions)
{
    EXPECT_EQ(State().index(), 5);
    EXPECT_EQ(State(State::Viewing {}).index(), 0);
    EXPECT_EQ(State(State::MultipleSelection {}).index(), 1);
    EXPECT_EQ(State(State::Editing {}).index(), 2);
    EXPECT_EQ(State(State::FieldEditing {}).index(), 4);
    // The field that shows the inline generator is named by position too.
    EXPECT_EQ(MenuSource::customField({0, 0}, Shared::Entry::Field::Category::pin).index(), 6);
    EXPECT_EQ(MenuSource::systemField(SystemID::password).index(), 0);
}

TEST_F(EntryDetailsVCTests, TitlesOfSectionsAndFieldsAndTagsAreTypedIntoWhileEditing)
{
    using Category = Shared::Entry::Field::Category;
    auto id = SharedTests::addEntry(*store, "Bank", "", [](auto& context, const String& id) {
        context.insertSectionBelow(-1, Shared::Entry::Section::Template::blank, id);
        context.setText(String("x"), Shared::EntryField::ID {0, 0}, id);
    });
    auto other = SharedTests::addEntry(*store, "Other", "", [](auto& context, const String& id) {
        context.setText(String("work, Home, travel"), SystemID::tags, id);
    });
    (void)other;
    auto tags = make<Shared::TagStore>(store);
    owner->tags = tags;
    auto context = store->makeEditingContext();
    context->prepareForEditing(id);
    State editing = State::Editing {{id, context}};
    keepTyping(context, id, editing);
    push(editing);

    // A section's title, then a field's: the selection Tab follows goes title, then value.
    EXPECT_TRUE(vc->entryDetailsTVC()->select(MenuSource::section(0), false));
    driver.type(String("Card"));
    driver.press(String("Tab"));
    vc->selectNextInput(false);
    vc->select(MenuSource::customFieldTitle({0, 0}, Category::text), false);
    driver.settle();
    driver.type(String("PIN"));
    vc->selectNextInput(false);
    driver.settle();
    auto entry = context->entry(id);
    EXPECT_EQ(entry->sections[0].title, String("Card"));
    EXPECT_EQ(entry->sections[0].fields[0].title, String("PIN"));
    EXPECT_TRUE(cell(MenuSource::customField({0, 0}, Category::text))->textField()->isFirstResponder());

    // Tags: the store offers those in use, a comma typed stays, a chosen tag completes what was typed.
    auto tagsSource = MenuSource::systemField(SystemID::tags);
    vc->select(tagsSource, false);
    driver.settle();
    auto tagsCell = cell(tagsSource);
    EXPECT_EQ(tagsCell->shownTagSuggestions(), (std::vector<String> {String("Home"), String("travel"), String("work")}));
    driver.type(String("wo,"));
    EXPECT_EQ(tagsCell->textField()->text(), String("wo,"));
    EXPECT_EQ(context->entry(id)->tags, (std::vector<String> {String("wo")}));
    driver.type(String(" t"));
    EXPECT_EQ(tagsCell->shownTagSuggestions(), (std::vector<String> {String("travel")}));
    window->layoutIfNeeded();
    driver.tap(String("travel"));
    EXPECT_EQ(tagsCell->textField()->text(), String("wo, travel, "));
    EXPECT_EQ(context->entry(id)->tags, (std::vector<String> {String("wo"), String("travel")}));
    EXPECT_TRUE(tagsCell->textField()->isFirstResponder());
    EXPECT_EQ(tagsCell->shownTagSuggestions(), (std::vector<String> {String("Home"), String("work")}));
}

TEST_F(EntryDetailsVCTests, AnAttachmentDraggedOntoAnotherFieldHandsItsFileOver)
{
    using Category = Shared::Entry::Field::Category;
    TestSupport::TemporaryHome home;
    auto file = home.path() / "letter.txt";
    std::ofstream(file) << "Dear";
    auto id = SharedTests::addEntry(*store, "Bank", "", [&](auto& context, const String& id) {
        auto section = context.insertSectionBelow(-1, Shared::Entry::Section::Template::blank, id);
        context.setText(String("attachment"), context.appendField(section, Category::attachment, id), id);
        context.appendField(section, Category::attachment, id);
    });
    auto context = store->makeEditingContext();
    context->prepareForEditing(id);
    push(State::Editing {{id, context}});
    // The item makes its file only when an input asks for it, and takes it away when it goes.
    int loads = 0;
    auto itemOf = [&](const std::filesystem::path& path) {
        auto item = Foundation::make<Foundation::NSItemProvider>();
        item->registerFileRepresentation(String("public.data"), [&loads, path](Foundation::NSItemProvider::FileCompletion completion) {
            ++loads;
            completion(Foundation::URL::fileURLWithPath(String(path.string())), nullptr);
            return Foundation::make<Foundation::Progress>(1);
        });
        return item;
    };
    owner->draggedItem = itemOf(file);
    auto full = cell(MenuSource::customField({0, 1}, Category::attachment));
    auto empty = cell(MenuSource::customField({0, 2}, Category::attachment));
    ASSERT_TRUE(full && empty);
    EXPECT_FALSE(full->reorderControl()->isHidden());
    EXPECT_TRUE(empty->reorderControl()->isHidden()) << "nothing to drag";

    // Onto itself, or where no file input is: the item is not even asked for.
    drag(full->reorderControl(), full);
    drag(full->reorderControl(), cell(0, 0));
    EXPECT_TRUE(owner->calls.empty());
    drag(full->reorderControl(), empty->fileURLInput());
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"drag field 0.1", "file field 0.2"}));
    EXPECT_EQ(loads, 1);
    // The input keeps the item, and with it its file, until the next drop.
    owner->draggedItem.reset();
    EXPECT_TRUE(std::filesystem::exists(file));
    auto second = home.path() / "second.txt";
    std::ofstream(second) << "Sir";
    owner->draggedItem = itemOf(second);
    drag(full->reorderControl(), empty->fileURLInput());
    EXPECT_FALSE(std::filesystem::exists(file)) << "the first item's file went with it";
    EXPECT_TRUE(std::filesystem::exists(second));
    // An item that cannot be handed out goes nowhere.
    owner->calls.clear();
    owner->draggedItem.reset();
    drag(full->reorderControl(), empty->fileURLInput());
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"drag field 0.1"}));
}
