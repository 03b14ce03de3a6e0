#include "Corvendale/Screens/Items/EntrySelectionC.hpp"

#include "Corvendale/Screens/Items/EntriesCoordinator.Menus.hpp"
#include "Corvendale/Screens/Items/EntrySelectionCDelegate.hpp"
#include "Corvendale/Screens/Items/EntriesVC.hpp"

#include "Shared/AuthenticationStore.hpp"
#include "Shared/BackupStore.hpp"
#include "Shared/EntriesVC.hpp"
#include "Shared/PreferenceStore.hpp"
#include "Shared/RecordStore.hpp"
#include "Shared/UIKeyCommand.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"

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
{
}

void EntrySelectionC::initialize()
{
    CoordinatingViewController::initialize();
    m_entriesVC->setDelegate(std::static_pointer_cast<Shared::EntriesVCDelegate>(sharedSelf(this)));
    static std::once_flag registered;
    std::call_once(registered, [] {
        Foundation::MethodTable::add(Foundation::Selector("handleEscapeKeyPress"), &EntrySelectionC::handleEscapeKeyPress);
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
    if (presentedViewController() || !m_entriesVC->searchText().isEmpty())
        return std::vector<std::shared_ptr<UIKit::UIKeyCommand>> {};
    return std::vector {Shared::UIKeyCommands::withInput(UIKit::UIKeyCommand::inputEscape(), UIKit::UIKeyModifierFlags(),
                                                         Foundation::Selector("handleEscapeKeyPress"), true)};
}

void EntrySelectionC::handleEscapeKeyPress()
{
    if (presentedViewController())
        return;
    if (auto delegate = this->delegate())
        delegate->entrySelectionCDidCancel();
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

std::vector<Shared::EntryIndex> EntrySelectionC::entryIndices(const Shared::Entry::Filter&, Shared::Settings::Items::SortMethod sortMethod,
                                                              Shared::EntriesVC&)
{
    // A typed search covers every item; without one the list shows the link's site.
    std::optional<Foundation::String> domain;
    if (m_entriesVC->searchText().isEmpty())
        domain = m_associatedDomainText;
    try {
        return dependencies().recordStore->entryIndices(Shared::EntryFilter::allItems(), sortMethod, std::nullopt, domain);
    } catch (const Foundation::Error&) {
        return {};
    }
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
