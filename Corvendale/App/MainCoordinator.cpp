#include "Corvendale/App/MainCoordinator.hpp"

#include "Corvendale/App/InAppNotificationC.hpp"
#include "Corvendale/App/MainCoordinatorDelegate.hpp"

#include "Shared/AuthenticationState.hpp"
#include "Shared/AuthenticationStore.hpp"
#include "Shared/BackupStore.hpp"
#include "Shared/Entry.SystemField.hpp"
#include "Shared/Entry.hpp"
#include "Shared/PasteboardCoordinator.hpp"
#include "Shared/PreferenceStore.hpp"
#include "Shared/RecordStore.hpp"
#include "Shared/Settings.Clipboard.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <cmath>

namespace Corvendale {

MainCoordinator::MainCoordinator()
    : CoordinatingSplitViewController(std::nullopt, nullptr)
    , m_primaryColumn(Foundation::make<UIKit::UIViewController>())
    , m_secondaryColumn(Foundation::make<UIKit::UIViewController>())
    , m_userDefaults(Foundation::UserDefaults::standard())
{
}

void MainCoordinator::initialize()
{
    CoordinatingSplitViewController::initialize();
    setViewControllers({m_primaryColumn, m_secondaryColumn});
    setPreferredDisplayMode(DisplayMode::oneBesideSecondary);
    setMinimumPrimaryColumnWidth(listColumnMinimumWidth);
    setMaximumPrimaryColumnWidth(listColumnMaximumWidth);
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

void MainCoordinator::startObserving()
{
    const auto& center = dependencies().notificationCenter;
    std::weak_ptr<MainCoordinator> weak = sharedSelf(this);
    center->addObserver(Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationState(), dependencies().authenticationStore,
                        Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
                            auto self = weak.lock();
                            if (!self || self->dependencies().authenticationStore->authenticationState().isAuthenticated())
                                return;
                            self->dismissIfPresenting(true);
                        });
    center->addObserver(Shared::PreferenceStore::preferenceStoreDidActivateSafeForInspectionMode(), dependencies().preferenceStore,
                        Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
                            auto self = weak.lock();
                            if (self && self->dependencies().authenticationStore->authenticationState().isAuthenticated())
                                self->resetListSelection();
                        });
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

void MainCoordinator::openImportableFile(const Foundation::URL& url)
{
    // Importable files, folders, share links and one-time-password links wait for their screens.
    if (url.pathExtension() == Foundation::String(Shared::BackupStore::fileExtension))
        dependencies().authenticationStore->beginRestoringFromBackup(url);
}

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
        copy(Shared::EntrySystemField::titleText(ID::username), entry->text(ID::username), false);
}

void MainCoordinator::copyPassword(const Foundation::String& ofEntryWithID)
{
    auto entry = lookUp(ofEntryWithID, "copyPassword(ofEntryWithID:)");
    using ID = Shared::EntrySystemField::ID;
    if (entry)
        copy(Shared::EntrySystemField::titleText(ID::password), entry->text(ID::password), true);
}

void MainCoordinator::copyOneTimePassword(const Foundation::String& ofEntryWithID)
{
    auto entry = lookUp(ofEntryWithID, "copyOneTimePassword(ofEntryWithID:)");
    if (entry)
        copy(Foundation::String("One-Time Password"), entry->currentOneTimePassword(Foundation::Date::now()), true);
}

} // namespace Corvendale
