// The unlocked window's menu and key commands. Each command has one rule, consulted by the key-command
// list, by `canPerformAction` and again by the handler, so a key equivalent that arrives while its menu
// item is disabled does nothing.

#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"
#include "Corvendale/Screens/Items/EntriesCoordinator.hpp"
#include "Corvendale/Screens/Settings/SendDebugInfoC.hpp"

#include "Shared/Model/Entry.Filter.hpp"
#include "Shared/Model/Entry.SystemField.hpp"
#include "Shared/Model/Entry.hpp"
#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Model/TOTP.hpp"
#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Screens/LetterPressCollector.hpp"
#include "Shared/Screens/UIKeyCommand.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Interface/UIPress.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UICommand.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UIPress.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <algorithm>
#include <functional>
#include <mutex>

namespace Corvendale {

using Foundation::Selector;
using Sender = std::shared_ptr<Foundation::NSObject>;

// The facts the rules are made of, read afresh for each question.
class MainCoordinator::Commands {
public:
    using Rule = bool (*)(Commands&, const Sender&);
    using Action = void (*)(Commands&, const Sender&);
    struct Command {
        const char* selector;
        Rule rule;
        Action action;
    };

    explicit Commands(MainCoordinator& coordinator)
        : m(coordinator)
    {
    }

    static const std::vector<Command>& all();
    static const Command* find(Selector action);
    // The handlers join the class's method table, once.
    static void registerAll();
    static bool always(Commands&, const Sender&) { return true; }

    MainCoordinator& m;

    bool nothingPresented() const { return !m.presentedViewController(); }
    bool idle() const { return nothingPresented() && m.isExpanded(); }
    const DetailsState& details() const { return m.m_entryDetailsCoordinator->state(); }
    bool editing() const { return details().isEditingCase(); }
    const std::shared_ptr<Shared::EntriesVC>& list() const { return m.entriesVC(); }
    std::vector<Foundation::String> selection() const { return list()->selectedEntryIDs(); }
    bool searchFieldFocused() const { return list()->isViewLoaded() && list()->searchField()->isFirstResponder(); }
    bool listFocused() const { return list()->isFirstResponder() || (list()->isViewLoaded() && list()->tableView()->isFirstResponder()); }

    // The list's selection read afresh, once per question: the list's own cache reads again only when
    // the identifiers change, and a command must see the items as a change just left them. None when
    // the items cannot be read.
    const EntriesCoordinator::SelectionCache* cache()
    {
        if (!m_cacheRead) {
            m_cacheRead = true;
            try {
                auto cache = Foundation::make<EntriesCoordinator::SelectionCache>(m.dependencies().recordStore);
                cache->update(selection());
                m_cache = std::move(cache);
            } catch (const Foundation::Error&) {
                m_cache = nullptr;
            }
        }
        return m_cache.get();
    }
    // The one selected item, when exactly one is selected and it could be read.
    const Shared::Entry* single()
    {
        const auto* cache = this->cache();
        if (!cache || cache->selectedEntryIDs().size() != 1 || !cache->firstSelectedEntry())
            return nullptr;
        return &*cache->firstSelectedEntry();
    }
    std::optional<Foundation::String> firstSelectedID()
    {
        const auto* cache = this->cache();
        return cache ? cache->firstSelectedEntryID() : std::nullopt;
    }
    template <class Predicate>
    bool anySelected(Predicate predicate)
    {
        const auto* cache = this->cache();
        return cache && std::ranges::any_of(cache->selectedEntryIndicies(), predicate);
    }
    template <class Predicate>
    bool allSelected(Predicate predicate)
    {
        const auto* cache = this->cache();
        return cache && !cache->selectedEntryIndicies().empty() && std::ranges::all_of(cache->selectedEntryIndicies(), predicate);
    }
    bool noneTrashed() { return cache() && !selection().empty() && !anySelected([](const auto& index) { return index.isTrashed; }); }

    bool hasItems(const Shared::EntryFilter& filter) const
    {
        try {
            return m.dependencies().recordStore->hasEntries(filter);
        } catch (const Foundation::Error&) {
            return false;
        }
    }

    // Rules shared by several commands.
    bool arrowRule() const { return nothingPresented() && (!editing() || searchFieldFocused()); }
    bool returnRule() const { return nothingPresented() && listFocused() && !editing(); }
    bool editRule()
    {
        const auto* entry = idle() && details().is<DetailsState::Viewing>() ? single() : nullptr;
        return entry && !entry->isTrashed();
    }
    bool copyUsernameRule()
    {
        const auto* entry = idle() ? single() : nullptr;
        return entry && entry->copyableUsername();
    }
    bool copyPasswordRule()
    {
        const auto* entry = idle() ? single() : nullptr;
        return entry && entry->firstCopyablePassword();
    }
    bool copyOneTimePasswordRule()
    {
        const auto* entry = idle() ? single() : nullptr;
        return entry && entry->firstCopyableOneTimePassword(Foundation::Date::now());
    }
    // The shown item for the large-type viewer, when exactly one is selected and the details show it.
    std::optional<Shared::Entry> largeViewerEntry() const
    {
        if (!idle() || selection().size() != 1)
            return std::nullopt;
        return details().entry();
    }
    bool largePasswordRule() const
    {
        const auto entry = largeViewerEntry();
        return entry && entry->firstCopyablePassword();
    }
    bool largeOneTimePasswordRule() const
    {
        const auto entry = largeViewerEntry();
        return entry && entry->firstCopyableTOTP();
    }
    bool openInBrowserRule()
    {
        const auto* entry = idle() ? single() : nullptr;
        auto url = entry ? entry->websiteURL() : std::nullopt;
        return url && UIKit::UIApplication::shared()->canOpenURL(*url);
    }
    bool historyRule() const
    {
        if (!idle() || !details().is<DetailsState::Viewing>())
            return false;
        auto entry = details().entry();
        return entry && !entry->passwordHistory.empty();
    }
    bool allFavorite() { return allSelected([](const auto& index) { return index.isFavorite; }); }
    bool allArchived() { return allSelected([](const auto& index) { return index.isArchived; }); }

    void filter(const Shared::EntryFilter& filter) { m.m_entriesCoordinator->didSelectFilter(filter); }

private:
    bool m_cacheRead = false;
    std::shared_ptr<EntriesCoordinator::SelectionCache> m_cache;
};

const std::vector<MainCoordinator::Commands::Command>& MainCoordinator::Commands::all()
{
    using Filter = Shared::EntryFilter;
    static const auto* commands = new std::vector<Command> {
        {"handleSendDebugInfoCommand", always, [](Commands& c, const Sender&) { presentSendDebugInfoOptions(c.m, c.m.view(), true); }},
        {"selectAll:", always, [](Commands& c, const Sender&) { c.list()->handleSelectAll(); }},
        {"handleNewLoginItemCommand", always, [](Commands& c, const Sender&) { c.m.presentNewLoginItem(); }},
        {"handleSyncCommand", always, [](Commands& c, const Sender&) { c.m.startSync(); }},
        {"handleFilterAllItemsCommand", always, [](Commands& c, const Sender&) { c.filter(Filter::allItems()); }},
        {"handleFilterFavoriteCommand", [](Commands& c, const Sender&) { return c.hasItems(Filter::favorites()); },
         [](Commands& c, const Sender&) { c.filter(Filter::favorites()); }},
        {"handleFilterArchivedItemsCommand", [](Commands& c, const Sender&) { return c.hasItems(Filter::archived()); },
         [](Commands& c, const Sender&) { c.filter(Filter::archived()); }},
        {"handleFilterTrashedItemsCommand", always, [](Commands& c, const Sender&) { c.filter(Filter::trash()); }},
        // Find and tag removal are offered always and act only while nothing is presented.
        {"handleFindCommand", always,
         [](Commands& c, const Sender&) {
             if (c.idle())
                 c.list()->focusSearch();
         }},
        {"handleSettingsCommand", always,
         [](Commands& c, const Sender&) {
             if (c.nothingPresented())
                 c.m.presentSettings(true);
         }},
        {"handleTagsRemoveFromAllItems", always,
         [](Commands& c, const Sender&) {
             if (c.idle())
                 c.m.presentRemoveTagsFromAllItems(true);
         }},
        {"handleCopyUsernameCommand:", [](Commands& c, const Sender&) { return c.copyUsernameRule(); },
         [](Commands& c, const Sender&) { c.m.copyUsername(*c.firstSelectedID()); }},
        {"handleCopyPasswordCommand:", [](Commands& c, const Sender&) { return c.copyPasswordRule(); },
         [](Commands& c, const Sender&) { c.m.copyPassword(*c.firstSelectedID()); }},
        {"handleCopyOneTimePasswordCommand:", [](Commands& c, const Sender&) { return c.copyOneTimePasswordRule(); },
         [](Commands& c, const Sender&) { c.m.copyOneTimePassword(*c.firstSelectedID()); }},
        {"handleLargePasswordCommand:", [](Commands& c, const Sender&) { return c.largePasswordRule(); },
         [](Commands& c, const Sender&) { c.m.presentLargeFirstCopyablePassword(c.largeViewerEntry()->id, true); }},
        {"handleLargeOneTimePasswordCommand:", [](Commands& c, const Sender&) { return c.largeOneTimePasswordRule(); },
         [](Commands& c, const Sender&) { c.m.presentLargeFirstCopyableOneTimePassword(c.largeViewerEntry()->id, true); }},
        {"handleOpenInBrowserCommand:", [](Commands& c, const Sender&) { return c.openInBrowserRule(); },
         [](Commands& c, const Sender&) { c.m.openInBrowser(*c.firstSelectedID(), false); }},
        {"handleOpenInBrowserAndQuitCommand:", [](Commands& c, const Sender&) { return c.openInBrowserRule(); },
         [](Commands& c, const Sender&) { c.m.openInBrowser(*c.firstSelectedID(), true); }},
        {"handleEditSelectedItemCommand", [](Commands& c, const Sender&) { return c.editRule(); },
         [](Commands& c, const Sender&) { c.m.m_entryDetailsCoordinator->transitionToEdit(*c.firstSelectedID(), true, std::nullopt, true); }},
        {"handleSaveSelectedItemCommand",
         [](Commands& c, const Sender&) { return c.idle() && c.details().is<DetailsState::Editing>() && c.details().entry().has_value(); },
         [](Commands& c, const Sender&) { c.m.m_entryDetailsCoordinator->didSelectDone(*c.m.m_entryDetailsCoordinator->entryDetailsVC()->headerV()); }},
        {"handleShowHidePasswordHistoryCommandWithSender:", [](Commands& c, const Sender&) { return c.historyRule(); },
         [](Commands& c, const Sender&) {
             if (c.m.isShowingPasswordHistory())
                 c.m.hidePasswordHistory();
             else
                 c.m.showPasswordHistory();
         }},
        {"handleFavoriteUnfavoriteSelectedItemsCommandWithSender:", [](Commands& c, const Sender&) { return c.idle() && c.noneTrashed(); },
         [](Commands& c, const Sender&) { c.m.updateIsFavorite(!c.allFavorite(), c.selection()); }},
        {"handleDuplicateSelectedItemsCommand", [](Commands& c, const Sender&) { return c.idle() && !c.editing() && c.noneTrashed(); },
         [](Commands& c, const Sender&) { c.m.m_entriesCoordinator->duplicateSelectedItems(); }},
        {"handleShareSelectedItemCommandWithSender:",
         [](Commands& c, const Sender&) { return c.idle() && !c.editing() && c.selection().size() == 1 && c.noneTrashed(); },
         [](Commands& c, const Sender&) { c.m.m_entriesCoordinator->shareEntry(*c.firstSelectedID()); }},
        {"handleItemArchiveCommand:", [](Commands& c, const Sender&) { return c.idle() && !c.selection().empty(); },
         [](Commands& c, const Sender&) {
             if (c.allArchived())
                 c.m.performActionAndUpdateSelection(c.selection(), ItemAction::unarchive);
             else
                 c.m.m_entriesCoordinator->archive(c.selection());
         }},
        {"handleItemMoveToTrashCommand:",
         [](Commands& c, const Sender&) { return c.idle() && !c.editing() && c.anySelected([](const auto& index) { return !index.isTrashed; }); },
         [](Commands& c, const Sender&) { c.m.m_entriesCoordinator->moveToTrash(c.selection()); }},
        {"handleItemRestoreCommand:",
         [](Commands& c, const Sender&) { return c.idle() && c.allSelected([](const auto& index) { return index.isTrashed; }); },
         [](Commands& c, const Sender&) { c.m.performActionAndUpdateSelection(c.selection(), ItemAction::restore); }},
        {"handleItemPermanentlyDeleteCommand:",
         [](Commands& c, const Sender&) { return c.idle() && c.allSelected([](const auto& index) { return index.isTrashed; }); },
         [](Commands& c, const Sender&) { c.m.m_entriesCoordinator->deletePermanently(c.selection()); }},
        // Keys of the window.
        {"handleUpArrowKeyPress", [](Commands& c, const Sender&) { return c.arrowRule(); }, [](Commands& c, const Sender&) { c.list()->handleMoveUp(); }},
        {"handleDownArrowKeyPress", [](Commands& c, const Sender&) { return c.arrowRule(); },
         [](Commands& c, const Sender&) { c.list()->handleMoveDown(); }},
        {"handleShiftUpArrowKeyPress", [](Commands& c, const Sender&) { return c.arrowRule(); },
         [](Commands& c, const Sender&) { c.list()->handleExtendUp(); }},
        {"handleShiftDownArrowKeyPress", [](Commands& c, const Sender&) { return c.arrowRule(); },
         [](Commands& c, const Sender&) { c.list()->handleExtendDown(); }},
        {"handleOptionUpArrowKeyPress", [](Commands& c, const Sender&) { return c.arrowRule(); },
         [](Commands& c, const Sender&) { c.list()->handlePageUp(); }},
        {"handleOptionDownArrowKeyPress", [](Commands& c, const Sender&) { return c.arrowRule(); },
         [](Commands& c, const Sender&) { c.list()->handlePageDown(); }},
        {"handleOptionShiftUpArrowKeyPress", [](Commands& c, const Sender&) { return c.arrowRule(); },
         [](Commands& c, const Sender&) { c.list()->handleMoveToFirst(); }},
        {"handleOptionShiftDownArrowKeyPress", [](Commands& c, const Sender&) { return c.arrowRule(); },
         [](Commands& c, const Sender&) { c.list()->handleMoveToLast(); }},
        {"handleTabKeyPress", [](Commands& c, const Sender&) { return c.nothingPresented() && !c.editing(); },
         [](Commands& c, const Sender&) {
             if (!c.searchFieldFocused())
                 return;
             if (c.selection().empty())
                 c.list()->selectFirstRow(true, true);
             c.m.focusList();
         }},
        {"handleShiftTabKeyPress", [](Commands& c, const Sender&) { return c.nothingPresented() && !c.editing(); },
         [](Commands& c, const Sender&) {
             if (c.listFocused())
                 c.list()->focusSearch();
         }},
        {"handleReturnKeyPress", [](Commands& c, const Sender&) { return c.returnRule(); }, [](Commands& c, const Sender&) { c.m.focusList(); }},
        {"handleEscapeKeyPress",
         [](Commands& c, const Sender&) { return c.nothingPresented() && (c.searchFieldFocused() || c.list()->isSelectingMultiple()); },
         [](Commands& c, const Sender&) {
             c.list()->handleEscape();
             if (c.searchFieldFocused())
                 c.m.focusList();
             if (c.list()->isSelectingMultiple())
                 c.list()->setSelectingMultiple(false, true);
         }},
    };
    return *commands;
}

const MainCoordinator::Commands::Command* MainCoordinator::Commands::find(Selector action)
{
    for (const auto& command : all())
        if (Selector(command.selector) == action)
            return &command;
    return nullptr;
}

void MainCoordinator::Commands::registerAll()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (const auto& command : Commands::all()) {
            Selector selector(command.selector);
            Foundation::MethodTable::add(typeid(MainCoordinator), selector,
                                         [selector](Foundation::NSObject& receiver, const Foundation::MethodTable::Arguments& arguments) {
                                             Sender sender;
                                             if (!arguments.empty())
                                                 sender = Foundation::MethodTable::argument<Sender>(arguments.front(), selector);
                                             dynamic_cast<MainCoordinator&>(receiver).perform(selector, sender);
                                             return std::any();
                                         });
        }
    });
}

void MainCoordinator::registerCommands()
{
    Commands::registerAll();
}

bool MainCoordinator::perform(Selector action, const Sender& sender)
{
    const auto* command = Commands::find(action);
    Commands facts(*this);
    if (!command || !command->rule(facts, sender))
        return false;
    command->action(facts, sender);
    return true;
}

bool MainCoordinator::canPerformAction(Selector action, const Sender& sender)
{
    if (const auto* command = Commands::find(action)) {
        Commands facts(*this);
        return command->rule(facts, sender);
    }
    return CoordinatingSplitViewController::canPerformAction(action, sender);
}

namespace {

Foundation::String largePasswordTitle()
{
    return Foundation::String("Show ") + Shared::EntrySystemField::titleText(Shared::EntrySystemField::ID::password) + Foundation::String(" in Large Viewer");
}

} // namespace

void MainCoordinator::validate(const std::shared_ptr<UIKit::UICommand>& command)
{
    Commands facts(*this);
    const auto action = command->action();
    if (action == Selector("handleCopyPasswordCommand:")) {
        if (const auto* entry = facts.single(); entry && entry->firstCopyablePassword())
            command->setTitle(Foundation::String("Copy ") + Shared::EntrySystemField::titleText(Shared::EntrySystemField::ID::password));
    } else if (action == Selector("handleLargePasswordCommand:")) {
        if (facts.largePasswordRule())
            command->setTitle(largePasswordTitle());
    } else if (action == Selector("handleShowHidePasswordHistoryCommandWithSender:")) {
        if (isShowingPasswordHistory())
            command->setTitle(Foundation::String("Hide Password History"));
    } else if (action == Selector("handleFavoriteUnfavoriteSelectedItemsCommandWithSender:")) {
        if (facts.allFavorite())
            command->setTitle(Foundation::String("Unfavorite"));
    } else if (action == Selector("handleItemArchiveCommand:")) {
        if (facts.allArchived())
            command->setTitle(Foundation::String("Unarchive"));
    }
    CoordinatingSplitViewController::validate(command);
}

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> MainCoordinator::keyCommands() const
{
    using Flags = UIKit::UIKeyModifierFlags;
    using UIKit::UIKeyCommand;
    Commands facts(const_cast<MainCoordinator&>(*this));
    auto titled = [](const char* title, const char* input, Flags flags, const char* action) {
        return Foundation::make<UIKeyCommand>(Foundation::String(title), Selector(action), Foundation::String(input), flags);
    };
    auto untitled = [](const Foundation::String& input, Flags flags, const char* action) {
        return Shared::UIKeyCommands::withInput(input, flags, Selector(action), true);
    };
    std::vector<std::shared_ptr<UIKeyCommand>> commands {
        titled("New Item", "N", Flags::command(), "handleNewLoginItemCommand"),
        titled("Sync", "R", Flags::command(), "handleSyncCommand"),
        titled("Lock", "L", Flags::command(), "handleLockCommand"),
        titled("Find", "F", Flags::command(), "handleFindCommand"),
    };
    if (facts.editRule())
        commands.push_back(titled("Edit", "E", Flags::command(), "handleEditSelectedItemCommand"));
    if (facts.copyPasswordRule()) {
        auto title = Foundation::String("Copy ") + Shared::EntrySystemField::titleText(Shared::EntrySystemField::ID::password);
        commands.push_back(Foundation::make<UIKeyCommand>(title, Selector("handleCopyPasswordCommand:"), Foundation::String("C"),
                                                          Flags::command() | Flags::shift()));
    }
    if (facts.copyOneTimePasswordRule())
        commands.push_back(
            titled("Copy One-Time Password", "C", Flags::command() | Flags::alternate() | Flags::shift(), "handleCopyOneTimePasswordCommand:"));
    if (facts.largePasswordRule())
        commands.push_back(Foundation::make<UIKeyCommand>(largePasswordTitle(), Selector("handleLargePasswordCommand:"), Foundation::String("L"),
                                                          Flags::command() | Flags::shift()));
    if (facts.largeOneTimePasswordRule())
        commands.push_back(titled("Show One-Time Password in Large Viewer", "L", Flags::command() | Flags::alternate() | Flags::shift(),
                                  "handleLargeOneTimePasswordCommand:"));
    if (facts.arrowRule()) {
        const auto& up = UIKeyCommand::inputUpArrow();
        const auto& down = UIKeyCommand::inputDownArrow();
        commands.push_back(untitled(up, {}, "handleUpArrowKeyPress"));
        commands.push_back(untitled(down, {}, "handleDownArrowKeyPress"));
        commands.push_back(untitled(up, Flags::shift(), "handleShiftUpArrowKeyPress"));
        commands.push_back(untitled(down, Flags::shift(), "handleShiftDownArrowKeyPress"));
        commands.push_back(untitled(up, Flags::alternate(), "handleOptionUpArrowKeyPress"));
        commands.push_back(untitled(down, Flags::alternate(), "handleOptionDownArrowKeyPress"));
        commands.push_back(untitled(up, Flags::alternate() | Flags::shift(), "handleOptionShiftUpArrowKeyPress"));
        commands.push_back(untitled(down, Flags::alternate() | Flags::shift(), "handleOptionShiftDownArrowKeyPress"));
    }
    if (facts.nothingPresented() && !facts.editing()) {
        commands.push_back(untitled(Foundation::String("\t"), {}, "handleTabKeyPress"));
        commands.push_back(untitled(Foundation::String("\t"), Flags::shift(), "handleShiftTabKeyPress"));
    }
    if (facts.returnRule())
        commands.push_back(untitled(Foundation::String("\r"), {}, "handleReturnKeyPress"));
    if (facts.nothingPresented() && (facts.searchFieldFocused() || facts.list()->isSelectingMultiple()))
        commands.push_back(untitled(UIKeyCommand::inputEscape(), {}, "handleEscapeKeyPress"));
    return commands;
}

namespace {

bool concealingEnabled(const MainCoordinator& coordinator)
{
    return coordinator.dependencies().preferenceStore->concealing() != Shared::Settings::Auth::Concealing::disabled;
}

} // namespace

void MainCoordinator::pressesBegan(const std::vector<std::shared_ptr<UIKit::UIPress>>& presses, const std::shared_ptr<UIKit::UIEvent>& event)
{
    if (Basalwork::containsOptionKeyWithNoOtherModifiers(presses) && concealingEnabled(*this))
        m_entryDetailsCoordinator->revealAllSecureFieldsViaOverride();
    Commands facts(*this);
    if (facts.returnRule() && Basalwork::isSingleLetterOrNumberKeyPress(presses)
        && Basalwork::doesNotContainModifierFlags(presses, UIKit::UIKeyModifierFlags::command())) {
        if (auto character = Basalwork::firstCharacter(presses)) {
            entriesVC()->selectFirstItem(m_letterPressCollector->collect(*character));
        }
    }
    CoordinatingSplitViewController::pressesBegan(presses, event);
}

void MainCoordinator::pressesEnded(const std::vector<std::shared_ptr<UIKit::UIPress>>& presses, const std::shared_ptr<UIKit::UIEvent>& event)
{
    if (Basalwork::containsOptionKey(presses) && concealingEnabled(*this))
        m_entryDetailsCoordinator->removeConcealOverrides();
    CoordinatingSplitViewController::pressesEnded(presses, event);
}

void MainCoordinator::pressesCancelled(const std::vector<std::shared_ptr<UIKit::UIPress>>& presses, const std::shared_ptr<UIKit::UIEvent>& event)
{
    if (Basalwork::containsOptionKey(presses) && concealingEnabled(*this))
        m_entryDetailsCoordinator->removeConcealOverrides();
    CoordinatingSplitViewController::pressesCancelled(presses, event);
}

} // namespace Corvendale
