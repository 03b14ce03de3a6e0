#include "Corvendale/App/SceneCoordinator.hpp"

#include "Corvendale/App/AuthenticationCoordinator.hpp"
#include "Corvendale/App/InAppNotificationC.hpp"
#include "Corvendale/App/InAppNotificationW.hpp"
#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/Services/AppKitBridge.hpp"
#include "Corvendale/Services/SyncCoordinator.hpp"

#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Syncwright/CloudKitRemote.hpp"
#include "Shared/Transfer/BackupStore.hpp"

#include "Basalwork/Base/DispatchQueue.hpp"
#include "Basalwork/Interface/UserInteractionMonitor.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

namespace Corvendale {

std::optional<double> SceneCoordinator::inactivityThreshold(std::int64_t autoLockCaseIndex)
{
    static constexpr double thresholds[] = {300, 900, 3600, 7200, 18000};
    if (autoLockCaseIndex < 0 || autoLockCaseIndex >= static_cast<std::int64_t>(std::size(thresholds)))
        return std::nullopt;
    return thresholds[autoLockCaseIndex];
}

namespace {

std::optional<double> currentThreshold()
{
    return SceneCoordinator::inactivityThreshold(static_cast<std::int64_t>(dependencies().preferenceStore->autoLock()));
}

} // namespace

SceneCoordinator::SceneCoordinator(std::shared_ptr<UIKit::UIWindowScene> windowScene, std::shared_ptr<UIKit::UIWindow> mainWindow)
    : CoordinatingViewController(nullptr)
    , m_windowScene(std::move(windowScene))
    , m_mainWindow(std::move(mainWindow))
{
}

void SceneCoordinator::initialize()
{
    CoordinatingViewController::initialize();
    m_authenticationCoordinator = Foundation::make<AuthenticationCoordinator>(m_mainWindow, Foundation::make<UIKit::UIWindow>(m_windowScene));
    m_inAppNotificationC = Foundation::make<InAppNotificationC>(Foundation::make<InAppNotificationW>(m_windowScene));
    m_mainCoordinator = Foundation::make<MainCoordinator>();
    m_userInteractionMonitor = Foundation::make<Basalwork::UserInteractionMonitor>(currentThreshold(), nullptr);
    embed(m_mainCoordinator, false);
    m_mainWindow->setAccessibilityIdentifier(Foundation::String("mainWindow"));
    m_mainWindow->setRootViewController(sharedSelf(this));
    m_mainWindow->makeKeyAndVisible();
    m_authenticationCoordinator->setDelegate(sharedSelf(this));
    m_mainCoordinator->setCoordinatingDelegate(sharedSelf(this));
    m_userInteractionMonitor->setDelegate(sharedSelf(this));
}

void SceneCoordinator::closeWindows()
{
    std::vector<std::shared_ptr<UIKit::UIWindow>> windows {m_mainWindow, m_authenticationCoordinator->authenticationWindow(),
                                                           m_inAppNotificationC->inAppNotificationWindow()};
    for (const auto& window : windows) {
        if (!window)
            continue;
        window->setIsHidden(true);
        window->setRootViewController(nullptr);
    }
}

void SceneCoordinator::viewDidLoad()
{
    CoordinatingViewController::viewDidLoad();
    startObserving();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void SceneCoordinator::viewWillAppear(bool animated)
{
    CoordinatingViewController::viewWillAppear(animated);
    if (!m_isFirstAppear)
        return;
    // The program always starts on the lock screen.
    const auto& window = m_authenticationCoordinator->authenticationWindow();
    window->makeKeyAndVisible();
    window->setIsUserInteractionEnabled(true);
}

void SceneCoordinator::viewDidAppear(bool animated)
{
    CoordinatingViewController::viewDidAppear(animated);
    if (!m_isFirstAppear)
        return;
    m_isFirstAppear = false;
    if (const auto& bridge = dependencies().appKitBridge)
        AppKitBridge::setIsMainWindowPinned(bridge, dependencies().preferenceStore->keepMainWindowPinned());
}

void SceneCoordinator::presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                                             std::function<void()> completion)
{
    present(viewController, animated, std::move(completion));
}

void SceneCoordinator::startObserving()
{
    const auto& center = dependencies().notificationCenter;
    std::weak_ptr<SceneCoordinator> weak = sharedSelf(this);
    center->addObserver(Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationState(), dependencies().authenticationStore,
                        Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
                            if (auto self = weak.lock())
                                self->authenticationStateDidChange();
                        });
    center->addObserver(Shared::PreferenceStore::preferenceStoreDidUpdateAutoLockInterval(), dependencies().preferenceStore,
                        Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
                            if (auto self = weak.lock())
                                self->updateInactivityThreshold();
                        });
}

void SceneCoordinator::authenticationStateDidChange()
{
    if (!dependencies().authenticationStore->authenticationState().isAuthenticated())
        return;
    m_userInteractionMonitor->restartTimer();
    if (auto url = std::exchange(m_urlToHandleOnAuthentication, std::nullopt))
        Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), 0.25,
                              [weak = std::weak_ptr(m_mainCoordinator), url = *url] {
                                  if (auto mainCoordinator = weak.lock())
                                      mainCoordinator->openImportableFile(url);
                              });
}

void SceneCoordinator::updateInactivityThreshold()
{
    m_userInteractionMonitor->set(currentThreshold());
}

void SceneCoordinator::handle(const Foundation::URL& url)
{
    const auto& store = dependencies().authenticationStore;
    if (store->authenticationState().isAuthenticated())
        m_mainCoordinator->openImportableFile(url);
    else if (url.pathExtension() == Foundation::String(Shared::BackupStore::fileExtension))
        store->beginRestoringFromBackup(url);
    else
        m_urlToHandleOnAuthentication = url;
}

void SceneCoordinator::didExceedInactivityTimeoutThreshold(Basalwork::UserInteractionMonitor&)
{
    // Whether or not the program is in the foreground.
    const auto& store = dependencies().authenticationStore;
    if (store->authenticationState().isAuthenticated())
        store->lock(Shared::AuthenticationStore::LockKind::allowBiometry, true, false, "SceneCoordinator.didExceedInactivityTimeoutThreshold");
}

void SceneCoordinator::didSelectReplaceExistingDataWithiCloudData(MainCoordinator&)
{
    const auto& sync = dependencies().syncCoordinator;
    sync->cloudKitRemote()->stop();
    try {
        dependencies().recordStore->deleteAllLocalRecords();
        sync->resetCKAccountAssociation();
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, Foundation::String("didSelectReplaceExistingDataWithiCloudData(mainCoordinator:)"));
        return;
    }
    sync->sync();
}

} // namespace Corvendale
