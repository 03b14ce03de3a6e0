#include "Corvendale/App/MainCoordinator.hpp"

#include "Corvendale/App/AuthenticationCoordinator.hpp"
#include "Corvendale/App/InAppNotificationC.hpp"
#include "Corvendale/App/MainCoordinatorDelegate.hpp"
#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"
#include "Corvendale/Screens/Items/EntriesCoordinator.hpp"
#include "Corvendale/Screens/Items/EntrySelectionC.hpp"
#include "Corvendale/Screens/Settings/SettingsC.hpp"
#include "Corvendale/Services/SyncCoordinator.hpp"

#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Model/Entry.SystemField.hpp"
#include "Shared/Model/Entry.hpp"
#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Model/Settings.Clipboard.hpp"
#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Screens/LetterPressCollector.hpp"
#include "Shared/Screens/PasteboardCoordinator.hpp"
#include "Shared/Screens/UIColor.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Transfer/URL.hpp"

#include "Basalwork/Base/DispatchQueue.hpp"
#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/UUID.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Platform/UIKit/UIAlertAction.Style.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.Style.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIPresentationController.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIViewControllerTransitionCoordinator.hpp"

#include <cmath>

namespace Corvendale {

MainCoordinator::MainCoordinator()
    : CoordinatingSplitViewController(std::nullopt, nullptr)
    , m_entriesCoordinator(Foundation::make<EntriesCoordinator>())
    , m_entryDetailsCoordinator(Foundation::make<EntryDetailsCoordinator>())
    , m_letterPressCollector(Foundation::make<Shared::LetterPressCollector>())
    , m_userDefaults(Foundation::UserDefaults::standard())
{
}

void MainCoordinator::initialize()
{
    CoordinatingSplitViewController::initialize();
    setViewControllers({m_entriesCoordinator, m_entryDetailsCoordinator});
    setPreferredDisplayMode(UISplitViewController::DisplayMode::oneBesideSecondary);
    setMinimumPrimaryColumnWidth(listColumnMinimumWidth);
    setMaximumPrimaryColumnWidth(listColumnMaximumWidth);
    m_entriesCoordinator->setDelegate(std::static_pointer_cast<EntriesCoordinatorDelegate>(sharedSelf(this)));
    m_entryDetailsCoordinator->setDelegate(std::static_pointer_cast<EntryDetailsCoordinatorDelegate>(sharedSelf(this)));
    setDelegate(std::static_pointer_cast<UIKit::UISplitViewControllerDelegate>(sharedSelf(this)));
    registerCommands();
}

const std::shared_ptr<Shared::EntriesVC>& MainCoordinator::entriesVC() const
{
    return m_entriesCoordinator->entriesVC();
}

std::optional<double> MainCoordinator::mostRecentPrimaryColumnWidth() const
{
    auto stored = m_userDefaults->object(Foundation::String(mostRecentPrimaryColumnWidthKey));
    if (!stored)
        return std::nullopt;
    std::optional<double> width = stored->as<double>();
    if (!width)
        if (auto whole = stored->as<std::int64_t>())
            width = static_cast<double>(*whole);
    // A width that is no number, or not a usable one, gives the automatic width.
    if (!width || !std::isfinite(*width) || *width < 0)
        return std::nullopt;
    return width;
}

void MainCoordinator::viewDidLoad()
{
    CoordinatingSplitViewController::viewDidLoad();
    view()->setAccessibilityIdentifier(Foundation::String("MainCoordinator"));
    setPreferredPrimaryColumnWidth(mostRecentPrimaryColumnWidth());
    startObserving();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void MainCoordinator::viewDidLayoutSubviews()
{
    CoordinatingSplitViewController::viewDidLayoutSubviews();
    m_userDefaults->set(Foundation::PropertyListValue(static_cast<double>(primaryColumnWidth())),
                        Foundation::String(mostRecentPrimaryColumnWidthKey));
}

void MainCoordinator::viewDidAppear(bool animated)
{
    CoordinatingSplitViewController::viewDidAppear(animated);
    becomeFirstResponderIfNothingIs();
}

void MainCoordinator::becomeFirstResponderIfNothingIs()
{
    auto window = viewIfLoaded() ? view()->window() : nullptr;
    if (window && !window->firstResponder())
        becomeFirstResponder();
}

void MainCoordinator::update(const Shared::Settings::Appearance& appearance)
{
    view()->setBackgroundColor(Shared::UIColors::secondaryBackground(appearance));
}

void MainCoordinator::startObserving()
{
    const auto& center = dependencies().notificationCenter;
    const auto& queue = Foundation::OperationQueue::main();
    std::weak_ptr<MainCoordinator> weak = sharedSelf(this);
    center->addObserver(Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationState(), dependencies().authenticationStore, queue,
                        [weak](const Foundation::Notification&) {
                            auto self = weak.lock();
                            if (!self)
                                return;
                            if (self->dependencies().authenticationStore->authenticationState().isAuthenticated())
                                return self->becomeFirstResponderIfNothingIs();
                            self->dismissLargeViewerIfPresented(true);
                            self->dismissIfPresenting(true);
                        });
    center->addObserver(Shared::PreferenceStore::preferenceStoreDidActivateSafeForInspectionMode(), dependencies().preferenceStore, queue,
                        [weak](const Foundation::Notification&) {
                            auto self = weak.lock();
                            if (self && self->dependencies().authenticationStore->authenticationState().isAuthenticated())
                                self->resetListSelection();
                        });
    center->addObserver(AuthenticationCoordinator::authenticationCoordinatorDidResetAccount(), nullptr, queue, [weak](const Foundation::Notification&) {
        if (auto self = weak.lock())
            self->dismissIfPresenting(true, [weak] {
                if (auto self = weak.lock())
                    self->resetListSelection();
            });
    });
}

void MainCoordinator::resetListSelection()
{
    entriesVC()->deselectAll();
    if (!m_entryDetailsCoordinator->state().isEditingCase())
        applyDetailsState(DetailsState::Empty {}, false, "resetSelection");
}

void MainCoordinator::dismissIfPresenting(bool animated, std::function<void()> completion)
{
    if (presentedViewController())
        dismiss(animated, std::move(completion));
    else if (completion)
        completion();
}

void MainCoordinator::presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                                            std::function<void()> completion)
{
    present(viewController, animated, std::move(completion));
}

void MainCoordinator::startSync()
{
    if (const auto& sync = dependencies().syncCoordinator)
        sync->sync();
}

void MainCoordinator::focusList()
{
    entriesVC()->becomeFirstResponder();
}

bool MainCoordinator::isDetailsPresentedHere() const
{
    return presentedViewController() == m_entryDetailsCoordinator;
}

bool MainCoordinator::applyDetailsState(DetailsState state, bool animated, const char* function)
{
    try {
        m_entryDetailsCoordinator->transition(std::move(state), false, false, animated);
        return true;
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, Foundation::String(function), animated);
        return false;
    }
}

void MainCoordinator::selectInList(const std::vector<Foundation::String>& entryIDs)
{
    entriesVC()->select(entryIDs, true);
}

// --- Columns ---------------------------------------------------------------------------------------------

void MainCoordinator::showEntryDetails()
{
    if (presentedViewController())
        return;
    m_entryDetailsCoordinator->presentationController()->setDelegate(
        std::static_pointer_cast<UIKit::UIAdaptivePresentationControllerDelegate>(sharedSelf(this)));
    showDetailViewController(m_entryDetailsCoordinator, sharedSelf(this));
}

bool MainCoordinator::collapseSecondary(UIKit::UISplitViewController&, const std::shared_ptr<UIKit::UIViewController>& secondary,
                                        const std::shared_ptr<UIKit::UIViewController>&)
{
    if (secondary != m_entryDetailsCoordinator)
        return false;
    setViewController(nullptr, UISplitViewController::Column::secondary);
    return true;
}

std::shared_ptr<UIKit::UIViewController> MainCoordinator::separateSecondary(UIKit::UISplitViewController&,
                                                                           const std::shared_ptr<UIKit::UIViewController>&)
{
    if (isDetailsPresentedHere())
        dismiss(false);
    return m_entryDetailsCoordinator;
}

void MainCoordinator::presentationControllerDidDismiss(UIKit::UIPresentationController& controller)
{
    if (controller.presentedViewController() == m_entryDetailsCoordinator)
        focusList();
}

void MainCoordinator::willTransition(const UIKit::UITraitCollection& to, const std::shared_ptr<UIKit::UIViewControllerTransitionCoordinator>& with)
{
    const auto from = traitCollection().horizontalSizeClass;
    CoordinatingSplitViewController::willTransition(to, with);
    using SizeClass = UIKit::UIUserInterfaceSizeClass;
    std::weak_ptr<MainCoordinator> weak = sharedSelf(this);
    // The details show a back button exactly while they stand on their own.
    auto reapply = [weak](UIKit::UIUserInterfaceSizeClass sizeClass) {
        auto self = weak.lock();
        if (!self)
            return;
        auto state = self->m_entryDetailsCoordinator->state();
        if (const auto* viewing = state.as<DetailsState::Viewing>()) {
            auto changed = *viewing;
            changed.backButton = sizeClass == SizeClass::regular ? Shared::EntryDetailsVCBackButtonVisibility::hidden
                                                                 : Shared::EntryDetailsVCBackButtonVisibility::visible;
            state = changed;
        }
        self->applyDetailsState(std::move(state), false, "willTransition(to:with:)");
    };
    if (from == SizeClass::regular && to.horizontalSizeClass == SizeClass::compact) {
        auto alongside = [weak, reapply](const auto&) {
            auto self = weak.lock();
            if (!self)
                return;
            if (self->entriesVC()->selectedEntryIDs().size() == 1 && !self->entriesVC()->isSelectingMultiple()) {
                self->entriesVC()->deselectAll();
                reapply(SizeClass::compact);
                self->showEntryDetails();
            }
        };
        if (!with || !with->animate(alongside))
            alongside(with);
    } else if (from == SizeClass::compact && to.horizontalSizeClass == SizeClass::regular) {
        if (isDetailsPresentedHere())
            dismiss(false);
        auto completion = [weak, reapply](const auto&) {
            auto self = weak.lock();
            if (!self)
                return;
            const auto& state = self->m_entryDetailsCoordinator->state();
            std::vector<Foundation::String> ids;
            if (const auto* several = state.as<DetailsState::MultipleSelection>())
                ids = several->entryIDs;
            else if (auto id = state.entryID())
                ids = {*id};
            self->entriesVC()->select(ids, false);
            reapply(SizeClass::regular);
        };
        if (!with || !with->animate(nullptr, completion))
            completion(with);
    }
}

// --- Opened files ----------------------------------------------------------------------------------------

void MainCoordinator::openImportableFile(const Foundation::URL& url)
{
    const bool animated = Basalwork::isCurrentlyInViewHierarchy(*this);
    std::weak_ptr<MainCoordinator> weak = sharedSelf(this);
    // Importable files and attachment folders go to the import page, which is not part of this program;
    // with nothing to take them they are ignored.
    if (Shared::isImportableFileURL(url) || Shared::isFolder(url))
        return;
    if (Shared::isCorvendaleBackupURL(url))
        return dependencies().authenticationStore->beginRestoringFromBackup(url);
    if (Shared::isCorvendaleShareURL(url)) {
        return dismissIfPresenting(animated, [weak, url, animated] {
            if (auto self = weak.lock()) {
                Basalwork::endEditing(*self);
                self->attemptPresentAddEntry(AddEntrySource(url), std::nullopt, animated);
            }
        });
    }
    if (Shared::isOTPAuthURL(url)) {
        Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), 0.5, [weak, url, animated] {
            auto self = weak.lock();
            if (!self)
                return;
            if (self->m_entryDetailsCoordinator->state().isEditingCase())
                return self->m_entryDetailsCoordinator->attemptToUpdate(url, true);
            self->dismissIfPresenting(animated, [weak, url] {
                if (auto self = weak.lock())
                    self->presentEntrySelection(url);
            });
        });
    }
}

void MainCoordinator::presentEntrySelection(const Foundation::URL& otpAuthURL)
{
    auto picker = Foundation::make<EntrySelectionC>(otpAuthURL, std::nullopt);
    picker->setDelegate(std::static_pointer_cast<EntrySelectionCDelegate>(sharedSelf(this)));
    present(picker, true);
}

// --- New items -------------------------------------------------------------------------------------------

void MainCoordinator::attemptPresentAddEntry(const AddEntrySource& source, const std::optional<Shared::MenuSource>& inputToSelect, bool animated)
{
    static const char* function = "attemptPresentAddEntry(source:inputToSelect:animated:)";
    try {
        const auto& recordStore = dependencies().recordStore;
        auto editingContext = recordStore->makeEditingContext();
        auto vaultID = recordStore->vaultIDForNewEntries();
        bool isSafeForInspection = recordStore->safeForInspectionState() == Shared::RecordStore::SafeForInspectionState::activated;
        auto newID = Foundation::UUID().uuidString();
        if (const auto* category = std::get_if<Shared::EntryCategory>(&source))
            newID = editingContext->insert(newID, vaultID, *category, isSafeForInspection);
        else
            newID = editingContext->insert(newID, vaultID, std::get<Foundation::URL>(source), isSafeForInspection);
        auto entry = editingContext->entry(newID);
        if (!entry)
            return;
        resetListSelection();
        m_entryDetailsCoordinator->saveCurrentEdits();
        DetailsState::Editing editing;
        editing.entryID = newID;
        editing.editingContext = editingContext;
        if (entry->category == Shared::EntryCategory::login || entry->category == Shared::EntryCategory::password || entry->showsEmptyLoginFields)
            editing.emptyLoginFields = Shared::EntryDetailsVCEmptyLoginFieldsVisibility::visible;
        switch (recordStore->autoFillAvailability()) {
        case Shared::RecordStoreAutoFillAvailability::unsupportedSystem:
            editing.autoFillDomains = Shared::EntryDetailsVCAutoFillDomainsState::unsupportedSystem;
            break;
        case Shared::RecordStoreAutoFillAvailability::disabled:
            editing.autoFillDomains = Shared::EntryDetailsVCAutoFillDomainsState::disabled;
            break;
        case Shared::RecordStoreAutoFillAvailability::enabled:
            editing.autoFillDomains = Shared::EntryDetailsVCAutoFillDomainsState::hidden;
            break;
        }
        m_entryDetailsCoordinator->transition(DetailsState(std::move(editing)), false, true, animated);
    } catch (const Foundation::Error& error) {
        return handleUnexpectedError(error, Foundation::String(function), animated);
    }
    showEntryDetails();
    if (!inputToSelect)
        return;
    std::weak_ptr<EntryDetailsCoordinator> details = m_entryDetailsCoordinator;
    Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), isExpanded() ? 0.001 : 0.5, [details, input = *inputToSelect, animated] {
        if (auto coordinator = details.lock())
            coordinator->entryDetailsVC()->select(input, animated);
    });
}

void MainCoordinator::presentNewLoginItem()
{
    Basalwork::endEditing(*this);
    attemptPresentAddEntry(AddEntrySource(Shared::EntryCategory::login), Shared::MenuSource::systemField(Shared::EntrySystemField::ID::title), true);
}

void MainCoordinator::attemptPresentAddEntry(Shared::EntryCategory source, bool animated)
{
    Basalwork::endEditing(*this);
    // A new item of any kind starts with its title, wherever the keyboard was.
    attemptPresentAddEntry(AddEntrySource(source), Shared::MenuSource::systemField(Shared::EntrySystemField::ID::title), animated);
}

void MainCoordinator::presentSettings(bool animated)
{
    auto settings = Foundation::make<SettingsC>(std::static_pointer_cast<SettingsCDelegate>(sharedSelf(this)));
    Basalwork::topMostPresentedVCOrSelf(*this)->present(settings, animated);
}

void MainCoordinator::didSelectReplaceExistingDataWithiCloudData(SettingsC&)
{
    if (auto delegate = coordinatingDelegate())
        delegate->didSelectReplaceExistingDataWithiCloudData(*this);
}

// --- Copying ---------------------------------------------------------------------------------------------

std::optional<Foundation::String> MainCoordinator::autoClearSubtitle() const
{
    using AutoClear = Shared::Settings::Clipboard::AutoClear;
    const char* duration = nullptr;
    switch (dependencies().preferenceStore->autoClear()) {
    case AutoClear::thirtySeconds:
        duration = "30 seconds";
        break;
    case AutoClear::oneMinute:
        duration = "1 minute";
        break;
    case AutoClear::twoMinutes:
        duration = "2 minutes";
        break;
    case AutoClear::fiveMinutes:
        duration = "5 minutes";
        break;
    case AutoClear::never:
        return std::nullopt;
    }
    return Foundation::String("Automatically clears in ") + Foundation::String(duration) + Foundation::String(" or on Quit");
}

void MainCoordinator::presentInAppNotification(const Foundation::String& text)
{
    auto delegate = m_coordinatingDelegate.lock();
    auto banners = delegate ? delegate->inAppNotificationC() : nullptr;
    if (!banners)
        return;
    banners->present({Foundation::String("Copied ") + text, autoClearSubtitle()}, true, copiedBannerDuration);
}

void MainCoordinator::copy(const std::optional<Foundation::String>& label, const std::optional<Foundation::String>& value, bool isSensitive)
{
    if (!label || !value || value->isEmpty())
        return;
    dependencies().pasteboardCoordinator->copy(*value, isSensitive);
    presentInAppNotification(*label);
}

std::optional<Shared::Entry> MainCoordinator::lookUp(const Foundation::String& entryID, const char* function)
{
    try {
        return dependencies().recordStore->entry(entryID);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, Foundation::String(function));
        return std::nullopt;
    }
}

void MainCoordinator::copyUsername(const Foundation::String& ofEntryWithID)
{
    auto entry = lookUp(ofEntryWithID, "copyUsername(ofEntryWithID:)");
    using ID = Shared::EntrySystemField::ID;
    if (entry)
        copy(Shared::EntrySystemField::titleText(ID::username), entry->copyableUsername(), false);
}

void MainCoordinator::copyPassword(const Foundation::String& ofEntryWithID)
{
    auto entry = lookUp(ofEntryWithID, "copyPassword(ofEntryWithID:)");
    using ID = Shared::EntrySystemField::ID;
    if (entry)
        copy(Shared::EntrySystemField::titleText(ID::password), entry->firstCopyablePassword(), true);
}

// --- Tags -----------------------------------------------------------------------------------------------

void MainCoordinator::presentRemoveTagsFromAllItems(bool animated)
{
    auto alert = Foundation::make<UIKit::UIAlertController>(Foundation::String("Remove Tags from All Items"),
                                                            Foundation::String("Each comma separated tag entered below will be removed from all "
                                                                               "items. This cannot be undone."),
                                                            UIKit::UIAlertController::Style::alert);
    alert->addTextField([](UIKit::UITextField& field) { field.setPlaceholder(Foundation::String("i.e. \"Tag1, tag2, tag 3\"")); });
    std::weak_ptr<MainCoordinator> weak = sharedSelf(this);
    alert->addAction(Foundation::make<UIKit::UIAlertAction>(
        Foundation::String("Remove from All Items"), UIKit::UIAlertAction::Style::destructive, [weak, field = alert->textFields().front()](const auto&) {
            auto self = weak.lock();
            if (!self)
                return;
            std::vector<Foundation::String> tags;
            for (const auto& tag : field->text().components(Foundation::String(",")))
                if (auto trimmed = tag.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()); !trimmed.isEmpty())
                    tags.push_back(trimmed);
            try {
                self->dependencies().recordStore->removeTags(tags);
            } catch (const Foundation::Error& error) {
                return self->handleUnexpectedError(error, Foundation::String("presentRemoveTagsFromAllItems(animated:)"), true);
            }
            self->startSync();
        }));
    alert->addAction(Foundation::make<UIKit::UIAlertAction>(Foundation::String("Cancel"), UIKit::UIAlertAction::Style::cancel));
    present(alert, animated);
}

void MainCoordinator::copyOneTimePassword(const Foundation::String& ofEntryWithID)
{
    auto entry = lookUp(ofEntryWithID, "copyOneTimePassword(ofEntryWithID:)");
    if (entry)
        copy(Foundation::String("One-Time Password"), entry->firstCopyableOneTimePassword(Foundation::Date::now()), true);
}

} // namespace Corvendale
