#pragma once

#include "Corvendale/Screens/Items/SyncStatusCDelegate.hpp"
#include "Corvendale/Services/UnexpectedErrorHandling.hpp"

#include "Shared/Screens/SyncStatusVDelegate.hpp"
#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Basalwork/Interface/PreferredContentSizeAutoUpdating.hpp"

#include "Platform/UIKit/UIPopoverPresentationControllerDelegate.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <memory>
#include <optional>

namespace Shared {
class AuthenticationStore;
class SyncStatusV;
}

namespace UIKit {
class UIView;
}

namespace Corvendale {

class SyncCoordinator;

// The pop-over of the sync status: shows the coordinator's status while it is open, sizes itself to its
// content and carries out the view's one action, whose meaning follows the status: stop the running
// sync, sync now, repair records that share an identifier, or (through the delegate) replace the local
// data with the account's. Made by its presenter, released when dismissed.
class SyncStatusC : public UIKit::UIViewController,
                    public Basalwork::PreferredContentSizeAutoUpdating,
                    public UnexpectedErrorHandling,
                    public Shared::PreferenceStoreAppearanceUpdateHandling,
                    public Shared::SyncStatusVDelegate,
                    public UIKit::UIPopoverPresentationControllerDelegate {
public:
    static constexpr double statusAnimationDuration = 0.25;
    static constexpr const char* replaceTitle = "Replace Existing Data";
    static constexpr const char* replaceMessage =
        "All existing data will be permanently removed from this device and replaced with the contents of the current iCloud "
        "account.\n\nAny un-synced changes will be lost!\n\nThis CANNOT be undone!!!";

    std::shared_ptr<SyncStatusCDelegate> delegate() const { return m_delegate.lock(); }
    const std::shared_ptr<Shared::SyncStatusV>& syncStatusV() const { return m_syncStatusV; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

    // Stays a pop-over in compact environments too.
    std::optional<UIKit::UIModalPresentationStyle> adaptivePresentationStyle(UIKit::UIPresentationController& controller,
                                                                            const UIKit::UITraitCollection& traits) override;

    // The status is shown again in the new appearance.
    void update(const Shared::Settings::Appearance& appearance) override;

    // Errors are tracked where the coordinator tracks its own, and shown from the pop-over.
    std::shared_ptr<Metricove::AnalyticsStore> analyticsStore() const override;
    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override;

    virtual void startObserving();
    virtual void presentReplaceExistingDataConfirmation(bool animated);
    // The view's action button, by the current status.
    void didSelectAction(Shared::SyncStatusV& syncStatusV) override;

    ~SyncStatusC() override;

protected:
    friend Foundation::Construct;
    // init(sourceView:delegate:), with the services it acts on. Becomes a pop-over pointing up at the
    // source view in `initialize()`.
    SyncStatusC(std::shared_ptr<UIKit::UIView> sourceView, const std::shared_ptr<SyncStatusCDelegate>& delegate,
                std::shared_ptr<SyncCoordinator> syncCoordinator, std::shared_ptr<Shared::AuthenticationStore> authenticationStore);
    void initialize() override;

private:
    void applySyncStatus(bool animated);

    std::weak_ptr<SyncStatusCDelegate> m_delegate;
    std::shared_ptr<Shared::SyncStatusV> m_syncStatusV;
    std::shared_ptr<UIKit::UIView> m_sourceView;
    std::shared_ptr<SyncCoordinator> m_syncCoordinator;
    std::shared_ptr<Shared::AuthenticationStore> m_authenticationStore;
    std::shared_ptr<Foundation::NSObject> m_statusObserver;
};

} // namespace Corvendale
