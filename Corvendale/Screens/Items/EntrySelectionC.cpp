#include "Corvendale/Screens/Items/EntrySelectionC.hpp"

#include "Corvendale/Screens/Items/EntriesCoordinator.Menus.hpp"
#include "Corvendale/Screens/Items/EntriesVC.hpp"
#include "Corvendale/Screens/Items/EntrySelectionCDelegate.hpp"

#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Screens/LetterPressCollector.hpp"
#include "Shared/Screens/UIKeyCommand.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Transfer/BackupStore.hpp"

#include "Basalwork/Interface/UIPress.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <mutex>

namespace Corvendale {

EntrySelectionC::EntrySelectionC(Foundation::URL otpAuthURL, std::optional<Foundation::String> associatedDomainText)
    : EntrySelectionC(Foundation::make<Shared::EntriesVC>(), std::move(otpAuthURL), std::move(associatedDomainText))
{
}

EntrySelectionC::EntrySelectionC(std::shared_ptr<Shared::EntriesVC> entriesVC, Foundation::URL otpAuthURL,
                                 std::optional<Foundation::String> associatedDomainText)
    : CoordinatingViewController(entriesVC)
    , m_entriesVC(std::move(entriesVC))
    , m_otpAuthURL(std::move(otpAuthURL))
    , m_associatedDomainText(std::move(associatedDomainText))
    , m_letterPressCollector(Foundation::make<Shared::LetterPressCollector>())
{
}

void EntrySelectionC::initialize()
{
    CoordinatingViewController::initialize();
    m_entriesVC->setDelegate(std::static_pointer_cast<Shared::EntriesVCDelegate>(sharedSelf(this)));
    static std::once_flag registered;
    std::call_once(registered, [] {
        using Foundation::Selector;
        Foundation::MethodTable::add(Selector("handleEscapeKeyPress"), &EntrySelectionC::handleEscapeKeyPress);
        Foundation::MethodTable::add(Selector("handleFindCommand"), &EntrySelectionC::handleFindCommand);
        Foundation::MethodTable::add(Selector("handleUpArrowKeyPress"), &EntrySelectionC::handleUpArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleDownArrowKeyPress"), &EntrySelectionC::handleDownArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleShiftUpArrowKeyPress"), &EntrySelectionC::handleShiftUpArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleShiftDownArrowKeyPress"), &EntrySelectionC::handleShiftDownArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleOptionUpArrowKeyPress"), &EntrySelectionC::handleOptionUpArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleOptionDownArrowKeyPress"), &EntrySelectionC::handleOptionDownArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleOptionShiftUpArrowKeyPress"), &EntrySelectionC::handleOptionShiftUpArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleOptionShiftDownArrowKeyPress"), &EntrySelectionC::handleOptionShiftDownArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleReturnKeyPress"), &EntrySelectionC::handleReturnKeyPress);
    });
}

void EntrySelectionC::viewDidLoad()
{
    CoordinatingViewController::viewDidLoad();
    updateView(false);
    registerForNotifications();
}

void EntrySelectionC::updateView(bool animated)
{
    try {
        auto config = currentConfig(*m_entriesVC, Shared::EntryFilter::allItems(), dependencies());
        // The picker shows no live sync state.
        config.syncStatus = Syncwright::SyncStatus::Disabled {};
        config.isCancelButtonHidden = false;
        config.isNewItemButtonHidden = false;
        config.settingsIssueDetected = false;
        config.isSettingsButtonShown = false;
        config.mode = Shared::EntriesVC::Config::Mode::picker(m_associatedDomainText.value_or(Foundation::String()));
        m_entriesVC->setConfig(config, animated);
    } catch (const Foundation::Error&) {
        // The list keeps showing the configuration it has.
    }
}

void EntrySelectionC::registerForNotifications()
{
    const auto& services = dependencies();
    std::weak_ptr<EntrySelectionC> weak = sharedSelf(this);
    m_observers = observeStoreChanges(services, [weak](bool animated) {
        if (auto self = weak.lock())
            self->updateView(animated);
    });
    m_observers.push_back(services.notificationCenter->addObserver(Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationState(),
                                                                   services.authenticationStore, Foundation::OperationQueue::main(),
                                                                   [weak](const Foundation::Notification&) {
                                                                       auto self = weak.lock();
                                                                       if (!self || !self->dependencies().authenticationStore->authenticationState().isAuthenticated())
                                                                           return;
                                                                       self->updateView(true);
                                                                       self->autoSelectSearchIfNeeded();
                                                                   }));
}

EntrySelectionC::~EntrySelectionC()
{
    for (const auto& observer : m_observers)
        dependencies().notificationCenter->removeObserver(observer);
}

void EntrySelectionC::autoSelectSearchIfNeeded()
{
    Corvendale::autoSelectSearchIfNeeded(*this, m_entriesVC, dependencies());
}

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> EntrySelectionC::keyCommands() const
{
    using UIKit::UIKeyCommand;
    using Flags = UIKit::UIKeyModifierFlags;
    auto command = [](const Foundation::String& input, Flags flags, const char* action) {
        return Shared::UIKeyCommands::withInput(input, flags, Foundation::Selector(action), true);
    };
    std::vector<std::shared_ptr<UIKeyCommand>> commands;
    // A typed search takes Escape first: the list clears it.
    if (!presentedViewController() && m_entriesVC->searchText().isEmpty())
        commands.push_back(command(UIKeyCommand::inputEscape(), {}, "handleEscapeKeyPress"));
    for (auto& each : {
             command("F", Flags::command(), "handleFindCommand"),
             command(UIKeyCommand::inputUpArrow(), {}, "handleUpArrowKeyPress"),
             command(UIKeyCommand::inputDownArrow(), {}, "handleDownArrowKeyPress"),
             command(UIKeyCommand::inputUpArrow(), Flags::shift(), "handleShiftUpArrowKeyPress"),
             command(UIKeyCommand::inputDownArrow(), Flags::shift(), "handleShiftDownArrowKeyPress"),
             command(UIKeyCommand::inputUpArrow(), Flags::alternate(), "handleOptionUpArrowKeyPress"),
             command(UIKeyCommand::inputDownArrow(), Flags::alternate(), "handleOptionDownArrowKeyPress"),
             command(UIKeyCommand::inputUpArrow(), Flags::alternate() | Flags::shift(), "handleOptionShiftUpArrowKeyPress"),
             command(UIKeyCommand::inputDownArrow(), Flags::alternate() | Flags::shift(), "handleOptionShiftDownArrowKeyPress"),
             command("\r", {}, "handleReturnKeyPress"),
         })
        commands.push_back(each);
    return commands;
}

void EntrySelectionC::handleEscapeKeyPress()
{
    if (presentedViewController())
        return;
    if (auto delegate = this->delegate())
        delegate->entrySelectionCDidCancel();
}

void EntrySelectionC::whenIdle(void (Shared::EntriesVC::*request)())
{
    if (!presentedViewController())
        ((*m_entriesVC).*request)();
}

void EntrySelectionC::handleFindCommand() { whenIdle(&Shared::EntriesVC::focusSearch); }
void EntrySelectionC::handleUpArrowKeyPress() { whenIdle(&Shared::EntriesVC::handleMoveUp); }
void EntrySelectionC::handleDownArrowKeyPress() { whenIdle(&Shared::EntriesVC::handleMoveDown); }
void EntrySelectionC::handleShiftUpArrowKeyPress() { whenIdle(&Shared::EntriesVC::handleExtendUp); }
void EntrySelectionC::handleShiftDownArrowKeyPress() { whenIdle(&Shared::EntriesVC::handleExtendDown); }
void EntrySelectionC::handleOptionUpArrowKeyPress() { whenIdle(&Shared::EntriesVC::handlePageUp); }
void EntrySelectionC::handleOptionDownArrowKeyPress() { whenIdle(&Shared::EntriesVC::handlePageDown); }
void EntrySelectionC::handleOptionShiftUpArrowKeyPress() { whenIdle(&Shared::EntriesVC::handleExtendToFirst); }
void EntrySelectionC::handleOptionShiftDownArrowKeyPress() { whenIdle(&Shared::EntriesVC::handleExtendToLast); }
// The list reports the one selected item as chosen; with none or several it does nothing.
void EntrySelectionC::handleReturnKeyPress() { whenIdle(&Shared::EntriesVC::handleActivate); }

void EntrySelectionC::pressesBegan(const std::vector<std::shared_ptr<UIKit::UIPress>>& presses, const std::shared_ptr<UIKit::UIEvent>& event)
{
    const auto& field = m_entriesVC->searchField();
    if (!presentedViewController() && field && !field->isFirstResponder() && Basalwork::isSingleLetterOrNumberKeyPress(presses)
        && Basalwork::doesNotContainModifierFlags(presses, UIKit::UIKeyModifierFlags::command())) {
        if (auto character = Basalwork::firstCharacter(presses)) {
            m_entriesVC->setSearchText(m_letterPressCollector->collect(*character));
            return;
        }
    }
    CoordinatingViewController::pressesBegan(presses, event);
}

void EntrySelectionC::presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                                            std::function<void()> completion)
{
    present(viewController, animated, std::move(completion));
}

Shared::Settings::Items::SortMethod EntrySelectionC::sortMethod(const Shared::Entry::Filter& filter, Shared::EntriesVC&)
{
    return dependencies().preferenceStore->sortMethod(filter);
}

Shared::EntriesVCItems EntrySelectionC::entryIndices(const Shared::Entry::Filter&, Shared::Settings::Items::SortMethod sortMethod, Shared::EntriesVC&)
{
    // A typed search covers every item; without one the list shows the link's site.
    std::optional<Foundation::String> domain;
    if (m_entriesVC->searchText().isEmpty())
        domain = m_associatedDomainText;
    return Shared::EntriesVCItems::deferred([recordStore = dependencies().recordStore, sortMethod, domain] {
        return recordStore->sharedEntryIndices(Shared::EntryFilter::allItems(), sortMethod, std::nullopt, domain);
    });
}

void EntrySelectionC::didUpdateSearchText(Shared::EntriesVC&)
{
    updateView(false);
}

void EntrySelectionC::didUpdate(const std::vector<Foundation::String>& selectedEntryIDs, bool, Shared::EntriesVC&)
{
    if (selectedEntryIDs.size() != 1)
        return;
    if (auto delegate = this->delegate())
        delegate->entrySelectionC(selectedEntryIDs.front(), m_otpAuthURL);
}

void EntrySelectionC::didRequestSearchFocus(Shared::EntriesVC&)
{
    m_entriesVC->focusSearch();
}

void EntrySelectionC::didSelectCancel(Shared::EntriesVC&)
{
    if (auto delegate = this->delegate())
        delegate->entrySelectionCDidCancel();
}

std::shared_ptr<UIKit::UIMenu> EntrySelectionC::newItemMenu(UIKit::UIButton&)
{
    std::weak_ptr<EntrySelectionC> weak = sharedSelf(this);
    return EntriesCoordinatorMenus::newItemMenu([weak](Shared::EntryCategory category) {
        auto self = weak.lock();
        if (!self)
            return;
        if (auto delegate = self->delegate())
            delegate->entrySelectionC(category, self->m_otpAuthURL);
    });
}

void EntrySelectionC::didActivate(const Foundation::String& entryID, Shared::EntriesVC&)
{
    if (auto delegate = this->delegate())
        delegate->entrySelectionC(entryID, m_otpAuthURL);
}

} // namespace Corvendale
