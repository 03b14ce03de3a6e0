#include "Corvendale/Screens/Items/SyncStatusC.hpp"

#include "Corvendale/Services/SyncCoordinator.hpp"

#include "Shared/Screens/SyncStatusV.Config.hpp"
#include "Shared/Screens/SyncStatusV.hpp"
#include "Shared/Screens/UIViewController.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Syncwright/CloudKitRemote.hpp"

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Interface/PresentationSource.hpp"
#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIAlertAction.Style.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.Style.hpp"
#include "Platform/UIKit/UIPopoverArrowDirection.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace Corvendale {

SyncStatusC::SyncStatusC(std::shared_ptr<UIKit::UIView> sourceView, const std::shared_ptr<SyncStatusCDelegate>& delegate,
                         std::shared_ptr<SyncCoordinator> syncCoordinator, std::shared_ptr<Shared::AuthenticationStore> authenticationStore)
    : UIViewController(std::nullopt, nullptr)
    , m_delegate(delegate)
    , m_sourceView(std::move(sourceView))
    , m_syncCoordinator(std::move(syncCoordinator))
    , m_authenticationStore(std::move(authenticationStore))
{
}

void SyncStatusC::initialize()
{
    UIViewController::initialize();
    Basalwork::setModalPresentationStyleToPopover(*this, Basalwork::PresentationSource::view(m_sourceView), UIKit::UIPopoverArrowDirection::up(),
                                                  sharedSelf(this));
    m_sourceView.reset();
}

SyncStatusC::~SyncStatusC()
{
    if (m_statusObserver)
        m_syncCoordinator->notificationCenter()->removeObserver(m_statusObserver);
}

std::optional<UIKit::UIModalPresentationStyle> SyncStatusC::adaptivePresentationStyle(UIKit::UIPresentationController&, const UIKit::UITraitCollection&)
{
    return UIKit::UIModalPresentationStyle::none;
}

void SyncStatusC::loadView()
{
    m_syncStatusV = Foundation::make<Shared::SyncStatusV>(sharedSelf(this));
    setView(m_syncStatusV);
}

void SyncStatusC::viewDidLoad()
{
    UIViewController::viewDidLoad();
    startObserving();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
    applySyncStatus(false);
}

void SyncStatusC::update(const Shared::Settings::Appearance&)
{
    if (m_syncStatusV)
        applySyncStatus(false);
}

void SyncStatusC::viewWillAppear(bool animated)
{
    UIViewController::viewWillAppear(animated);
    setupPreferredContentSizeUpdater(sharedSelf(this), *m_syncStatusV->scrollView());
}

void SyncStatusC::viewDidDisappear(bool animated)
{
    UIViewController::viewDidDisappear(animated);
    removePreferredContentSizeUpdater();
}

void SyncStatusC::startObserving()
{
    std::weak_ptr<SyncStatusC> weak = sharedSelf(this);
    m_statusObserver = m_syncCoordinator->notificationCenter()->addObserver(SyncCoordinator::syncCoordinatorDidUpdateSyncStatus(), m_syncCoordinator,
                                                                            Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
                                                                                if (auto self = weak.lock())
                                                                                    self->applySyncStatus(true);
                                                                            });
}

void SyncStatusC::applySyncStatus(bool animated)
{
    auto status = m_syncCoordinator->syncStatus();
    Shared::perform(*this, [&] { m_syncStatusV->setConfig(Shared::SyncStatusV::Config::make(status)); }, animated, statusAnimationDuration);
}

void SyncStatusC::didSelectAction(Shared::SyncStatusV&)
{
    using Syncwright::SyncStatus;
    auto status = m_syncCoordinator->syncStatus();
    if (status.is<SyncStatus::Syncing>()) {
        m_syncCoordinator->cloudKitRemote()->cancel();
        return;
    }
    if (status.is<SyncStatus::Disabled>())
        return;
    const auto* failed = status.as<SyncStatus::Failed>();
    if (failed && failed->failure.is<SyncStatus::Failure::MultipleRecordsUsingTheSameID>()) {
        try {
            m_syncCoordinator->recordStore()->repairRecordsUsingTheSameID();
        } catch (const Foundation::Error& error) {
            handleUnexpectedError(error, "didSelectAction(syncStatusV:)", true);
            return;
        }
        m_syncCoordinator->forceRefetch();
        m_syncCoordinator->sync();
        m_authenticationStore->lock(Shared::AuthenticationStore::LockKind::reloadRecords, true, std::nullopt,
                                    "SyncStatusC.didSelectAction(syncStatusV:) with .multipleRecordsUsingTheSameID");
        return;
    }
    if (failed && failed->failure.requiresReplacingLocalData()) {
        presentReplaceExistingDataConfirmation(true);
        return;
    }
    m_syncCoordinator->sync();
}

void SyncStatusC::presentReplaceExistingDataConfirmation(bool animated)
{
    auto alert = Foundation::make<UIKit::UIAlertController>(Foundation::String(replaceTitle), Foundation::String(replaceMessage),
                                                            UIKit::UIAlertController::Style::alert);
    alert->addAction(Foundation::make<UIKit::UIAlertAction>(Foundation::String("Cancel"), UIKit::UIAlertAction::Style::cancel));
    std::weak_ptr<SyncStatusC> weak = sharedSelf(this);
    alert->addAction(Foundation::make<UIKit::UIAlertAction>(Foundation::String("Replace"), UIKit::UIAlertAction::Style::destructive,
                                                            [weak, animated](const std::shared_ptr<UIKit::UIAlertAction>&) {
                                                                auto self = weak.lock();
                                                                if (!self)
                                                                    return;
                                                                if (auto delegate = self->delegate()) {
                                                                    delegate->didSelectReplaceExistingDataWithiCloudData(*self);
                                                                    return;
                                                                }
                                                                auto error = Basalwork::GeneralError::failedWithMessage(
                                                                    "SyncStatusC unable to replace existing data while delegate is nil.");
                                                                self->handleUnexpectedError(error, "presentReplaceExistingDataConfirmation(animated:)", animated);
                                                            }));
    present(alert, animated);
}

std::shared_ptr<Metricove::AnalyticsStore> SyncStatusC::analyticsStore() const
{
    return m_syncCoordinator->analyticsStore();
}

void SyncStatusC::presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated, std::function<void()> completion)
{
    present(viewController, animated, std::move(completion));
}

} // namespace Corvendale
