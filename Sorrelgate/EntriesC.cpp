#include "Sorrelgate/EntriesC.hpp"

#include "Sorrelgate/ASCredentialServiceIdentifier.hpp"
#include "Sorrelgate/EntriesCDelegate.hpp"

#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Screens/LetterPressCollector.hpp"
#include "Shared/Screens/Menu.Action.hpp"
#include "Shared/Screens/Menu.Builder.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Screens/UIKeyCommand.hpp"

#include "Basalwork/Base/DispatchQueue.hpp"
#include "Basalwork/Interface/UIPress.hpp"
#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/AuthenticationServices/ASExtensionError.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <mutex>

namespace Sorrelgate {

namespace {

const Foundation::Logger& logger()
{
    static const Foundation::Logger logger("Sorrelgate", "EntriesC");
    return logger;
}

// The site or app the list is narrowed to: the first service identifier's host, or its text.
std::optional<Foundation::String> associatedDomainText(const EntriesC::ServiceIdentifiers& serviceIdentifiers)
{
    for (const auto& identifier : serviceIdentifiers) {
        auto text = hostOrIdentifier(identifier).lowercased();
        if (!text.isEmpty())
            return text;
    }
    return std::nullopt;
}

} // namespace

EntriesC::EntriesC(ServiceIdentifiers serviceIdentifiers, const std::shared_ptr<EntriesCDelegate>& delegate)
    : EntriesC(Foundation::make<Shared::EntriesVC>(), std::move(serviceIdentifiers), delegate)
{
}

EntriesC::EntriesC(std::shared_ptr<Shared::EntriesVC> entriesVC, ServiceIdentifiers serviceIdentifiers, const std::shared_ptr<EntriesCDelegate>& delegate)
    : CoordinatingViewController(entriesVC)
    , m_delegate(delegate)
    , m_serviceIdentifiers(std::move(serviceIdentifiers))
    , m_associatedDomainText(Sorrelgate::associatedDomainText(m_serviceIdentifiers))
    , m_entriesVC(std::move(entriesVC))
    , m_letterPressCollector(Foundation::make<Shared::LetterPressCollector>())
{
}

void EntriesC::initialize()
{
    CoordinatingViewController::initialize();
    m_entriesVC->setDelegate(std::static_pointer_cast<Shared::EntriesVCDelegate>(sharedSelf(this)));
    static std::once_flag registered;
    std::call_once(registered, [] {
        using Foundation::Selector;
        Foundation::MethodTable::add(Selector("handleEscapeKeyPress"), &EntriesC::handleEscapeKeyPress);
        Foundation::MethodTable::add(Selector("handleFindCommand"), &EntriesC::handleFindCommand);
        Foundation::MethodTable::add(Selector("handleUpArrowKeyPress"), &EntriesC::handleUpArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleDownArrowKeyPress"), &EntriesC::handleDownArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleShiftUpArrowKeyPress"), &EntriesC::handleShiftUpArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleShiftDownArrowKeyPress"), &EntriesC::handleShiftDownArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleOptionUpArrowKeyPress"), &EntriesC::handleOptionUpArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleOptionDownArrowKeyPress"), &EntriesC::handleOptionDownArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleOptionShiftUpArrowKeyPress"), &EntriesC::handleOptionShiftUpArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleOptionShiftDownArrowKeyPress"), &EntriesC::handleOptionShiftDownArrowKeyPress);
        Foundation::MethodTable::add(Selector("handleReturnKeyPress"), &EntriesC::handleReturnKeyPress);
    });
}

EntriesC::~EntriesC()
{
    if (!m_observers.empty())
        for (const auto& observer : m_observers)
            dependencies().notificationCenter->removeObserver(observer);
}

bool EntriesC::isAuthenticated() const
{
    return dependencies().authenticationStore->authenticationState().isAuthenticated();
}

bool EntriesC::isPresenting() const
{
    // The add-item screen is presented by the credential provider, over this screen.
    for (const UIKit::UIViewController* controller = this; controller; controller = controller->parent().get())
        if (controller->presentedViewController())
            return true;
    return false;
}

void EntriesC::viewDidLoad()
{
    CoordinatingViewController::viewDidLoad();
    rebuild(false);
    startObserving();
}

void EntriesC::viewDidAppear(bool animated)
{
    CoordinatingViewController::viewDidAppear(animated);
    if (!isAuthenticated())
        return;
    std::weak_ptr<EntriesC> weak = sharedSelf(this);
    Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), 0.5, [weak] {
        if (auto self = weak.lock())
            self->focusStep();
    });
}

void EntriesC::startObserving()
{
    const auto& dependencies = this->dependencies();
    std::weak_ptr<EntriesC> weak = sharedSelf(this);
    m_observers.push_back(dependencies.notificationCenter->addObserver(
        Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationState(), dependencies.authenticationStore,
        Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
            if (auto self = weak.lock())
                self->authenticationStateDidChange();
        }));
    m_observers.push_back(dependencies.notificationCenter->addObserver(Shared::RecordStore::recordStoreDidUpdateRecords(), dependencies.recordStore,
                                                                       Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
                                                                           auto self = weak.lock();
                                                                           if (self && self->isAuthenticated())
                                                                               self->rebuild(true);
                                                                       }));
}

void EntriesC::authenticationStateDidChange()
{
    if (isAuthenticated()) {
        rebuild(true);
        std::weak_ptr<EntriesC> weak = sharedSelf(this);
        Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), 0.5, [weak] {
            if (auto self = weak.lock())
                self->focusStep();
        });
        return;
    }
    // Locked (here or by the main program): the items go, and so does the keyboard.
    if (auto responder = Basalwork::findFirstResponder(*this))
        responder->resignFirstResponder();
    resignFirstResponder();
    rebuild(false);
}

void EntriesC::rebuild(bool animated)
{
    const auto& dependencies = this->dependencies();
    Shared::EntriesVC::Config config;
    config.recordStore = dependencies.recordStore;
    config.preferenceStore = dependencies.preferenceStore;
    config.authenticationState = dependencies.authenticationStore->authenticationState();
    config.filter = Shared::Entry::Filter::allItems();
    config.sortMethod = m_selectedSortMethod;
    config.syncStatus = Syncwright::SyncStatus::disabled();
    config.searchState = {m_entriesVC->searchText()};
    config.isCancelButtonHidden = false;
    config.isNewItemButtonHidden = false;
    // A rebuild (records synced meanwhile) keeps what the user selected.
    config.selectedEntryIDs = m_entriesVC->selectedEntryIDs();
    config.selectionMode = m_entriesVC->isSelectingMultiple() ? Shared::EntriesVC::Config::SelectionMode::multiple
                                                              : Shared::EntriesVC::Config::SelectionMode::single;
    config.settingsIssueDetected = false;
    config.isSettingsButtonShown = false;
    config.mode = Shared::EntriesVC::Config::Mode::picker(m_associatedDomainText.value_or(Foundation::String()));
    m_entriesVC->setConfig(config, animated);
}

void EntriesC::focusStep()
{
    if (!isAuthenticated() || isPresenting())
        return;
    const auto& recordStore = dependencies().recordStore;
    bool hasItems = false;
    (void)Foundation::catchError([&] { hasItems = m_associatedDomainText ? recordStore->hasEntries(*m_associatedDomainText) : recordStore->hasEntries(); });
    if (!hasItems)
        m_entriesVC->focusSearch();
    else
        becomeFirstResponder();
}

// --- Keys ---------------------------------------------------------------------------------------------

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> EntriesC::keyCommands() const
{
    using UIKit::UIKeyCommand;
    using Flags = UIKit::UIKeyModifierFlags;
    auto command = [](const Foundation::String& input, Flags flags, const char* action) {
        return Shared::UIKeyCommands::withInput(input, flags, Foundation::Selector(action), true);
    };
    std::vector<std::shared_ptr<UIKeyCommand>> commands;
    // A typed search takes Escape first: the list clears it.
    if (!isPresenting() && m_entriesVC->searchText().isEmpty())
        commands.push_back(command(UIKeyCommand::inputEscape(), {}, "handleEscapeKeyPress"));
    commands.push_back(command("f", Flags::command(), "handleFindCommand"));
    if (isPresenting())
        return commands;
    for (auto& each : {
             command(UIKeyCommand::inputUpArrow(), {}, "handleUpArrowKeyPress"),
             command(UIKeyCommand::inputDownArrow(), {}, "handleDownArrowKeyPress"),
             command(UIKeyCommand::inputUpArrow(), Flags::shift(), "handleShiftUpArrowKeyPress"),
             command(UIKeyCommand::inputDownArrow(), Flags::shift(), "handleShiftDownArrowKeyPress"),
             command(UIKeyCommand::inputUpArrow(), Flags::alternate(), "handleOptionUpArrowKeyPress"),
             command(UIKeyCommand::inputDownArrow(), Flags::alternate(), "handleOptionDownArrowKeyPress"),
             command(UIKeyCommand::inputUpArrow(), Flags::alternate() | Flags::shift(), "handleOptionShiftUpArrowKeyPress"),
             command(UIKeyCommand::inputDownArrow(), Flags::alternate() | Flags::shift(), "handleOptionShiftDownArrowKeyPress"),
         })
        commands.push_back(each);
    if (!m_hasSelectionBeenReportedToDelegate && m_entriesVC->selectedEntryIDs().size() == 1)
        commands.push_back(command("\r", {}, "handleReturnKeyPress"));
    return commands;
}

void EntriesC::handleEscapeKeyPress()
{
    if (isPresenting() || !m_entriesVC->searchText().isEmpty())
        return;
    if (auto delegate = this->delegate())
        delegate->cancelRequest(Foundation::NSError(AuthenticationServices::ASExtensionErrorDomain,
                                                    static_cast<std::int64_t>(AuthenticationServices::ASExtensionError::Code::userCanceled)));
}

void EntriesC::whenIdle(void (Shared::EntriesVC::*request)())
{
    if (!isPresenting() && isAuthenticated())
        ((*m_entriesVC).*request)();
}

void EntriesC::handleFindCommand() { whenIdle(&Shared::EntriesVC::focusSearch); }
void EntriesC::handleUpArrowKeyPress() { whenIdle(&Shared::EntriesVC::handleMoveUp); }
void EntriesC::handleDownArrowKeyPress() { whenIdle(&Shared::EntriesVC::handleMoveDown); }
void EntriesC::handleShiftUpArrowKeyPress() { whenIdle(&Shared::EntriesVC::handleExtendUp); }
void EntriesC::handleShiftDownArrowKeyPress() { whenIdle(&Shared::EntriesVC::handleExtendDown); }
void EntriesC::handleOptionUpArrowKeyPress() { whenIdle(&Shared::EntriesVC::handlePageUp); }
void EntriesC::handleOptionDownArrowKeyPress() { whenIdle(&Shared::EntriesVC::handlePageDown); }
void EntriesC::handleOptionShiftUpArrowKeyPress() { whenIdle(&Shared::EntriesVC::handleExtendToFirst); }
void EntriesC::handleOptionShiftDownArrowKeyPress() { whenIdle(&Shared::EntriesVC::handleExtendToLast); }

void EntriesC::handleReturnKeyPress()
{
    if (m_hasSelectionBeenReportedToDelegate || isPresenting() || !isAuthenticated())
        return;
    if (m_entriesVC->selectedEntryIDs().size() != 1)
        return;
    m_hasSelectionBeenReportedToDelegate = true;
    std::weak_ptr<EntriesC> weak = sharedSelf(this);
    Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), 0.1, [weak] {
        if (auto self = weak.lock())
            self->m_entriesVC->handleActivate();
    });
}

void EntriesC::pressesBegan(const std::vector<std::shared_ptr<UIKit::UIPress>>& presses, const std::shared_ptr<UIKit::UIEvent>& event)
{
    const auto& field = m_entriesVC->searchField();
    bool listTakesKeys = field && field->isFirstResponder();
    if (!isPresenting() && !listTakesKeys && isAuthenticated() && presses.size() == 1 && Basalwork::isSingleLetterOrNumberKeyPress(presses)
        && Basalwork::doesNotContainModifierFlags(presses, UIKit::UIKeyModifierFlags::command())) {
        if (auto character = Basalwork::firstCharacter(presses)) {
            m_entriesVC->selectFirstItem(m_letterPressCollector->collect(*character));
            return;
        }
    }
    CoordinatingViewController::pressesBegan(presses, event);
}

// --- The list -----------------------------------------------------------------------------------------

bool EntriesC::canShowEntries(Shared::EntriesVC&)
{
    return isAuthenticated();
}

Shared::EntriesVCItems EntriesC::entryIndices(const Shared::Entry::Filter&, Shared::Settings::Items::SortMethod sortMethod, Shared::EntriesVC&)
{
    // A typed search covers every item; without one the list shows the site's.
    std::optional<Foundation::String> domain;
    if (m_entriesVC->searchText().isEmpty())
        domain = m_associatedDomainText;
    try {
        return dependencies().recordStore->entryIndices(Shared::Entry::Filter::allItems(), sortMethod, std::nullopt, domain);
    } catch (const Foundation::Error&) {
        return {};
    }
}

void EntriesC::choose(const Foundation::String& entryID)
{
    if (isPresenting())
        return;
    if (!isAuthenticated()) {
        logger().error("An item was chosen while the vault is locked: ignored");
        return;
    }
    if (auto delegate = this->delegate())
        delegate->didChoose(entryID, *this);
}

void EntriesC::didUpdate(const std::vector<Foundation::String>& selectedEntryIDs, bool, Shared::EntriesVC&)
{
    // The picker reports only what a click chose.
    if (selectedEntryIDs.size() == 1)
        choose(selectedEntryIDs.front());
}

void EntriesC::didActivate(const Foundation::String& entryID, Shared::EntriesVC&)
{
    choose(entryID);
}

void EntriesC::didRequestSearchFocus(Shared::EntriesVC&)
{
    if (isAuthenticated())
        m_entriesVC->focusSearch();
}

bool EntriesC::isBeingDisplayedInExpandedSplitView(Shared::EntriesVC&)
{
    return Basalwork::isBeingDisplayedInExpandedSplitView(*this);
}

void EntriesC::didSelectCancel(Shared::EntriesVC&)
{
    if (auto delegate = this->delegate())
        delegate->cancelRequest(Foundation::NSError(AuthenticationServices::ASExtensionErrorDomain,
                                                    static_cast<std::int64_t>(AuthenticationServices::ASExtensionError::Code::userCanceled)));
}

std::shared_ptr<UIKit::UIMenu> EntriesC::newItemMenu(UIKit::UIButton&)
{
    std::weak_ptr<EntriesC> weak = sharedSelf(this);
    // The extension adds logins only.
    Shared::MenuBuilder builder([weak](const Shared::MenuBuilder::Element&) {
        Foundation::DispatchQueue::main()->async([weak] {
            auto self = weak.lock();
            auto delegate = self ? self->delegate() : nullptr;
            if (delegate && !self->isPresenting() && self->isAuthenticated())
                delegate->didRequestNewEntry(*self);
        });
    });
    builder.add(Shared::MenuAction::changeItemCategory(Shared::EntryCategory::login));
    return builder.build();
}

} // namespace Sorrelgate
