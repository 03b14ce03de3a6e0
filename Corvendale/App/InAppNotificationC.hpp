#pragma once

#include "Corvendale/App/InAppNotification.hpp"

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Basalwork/Interface/CoordinatingViewController.hpp"

#include <memory>

namespace UIKit {
class UIWindow;
}

namespace Corvendale {

class InAppNotificationVC;

// The banners of a scene, in a window of their own above the main window (level 490) and below the lock
// screen.
class InAppNotificationC : public Basalwork::CoordinatingViewController, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    static constexpr double windowLevel = 490;

    const std::shared_ptr<UIKit::UIWindow>& inAppNotificationWindow() const { return m_inAppNotificationWindow; }
    const std::shared_ptr<InAppNotificationVC>& inAppNotificationVC() const { return m_inAppNotificationVC; }

    virtual void present(const InAppNotification& notification, bool animated, double duration);

    void viewDidLoad() override;
    void update(const Shared::Settings::Appearance&) override {}

protected:
    friend Foundation::Construct;
    // init(window:)
    explicit InAppNotificationC(std::shared_ptr<UIKit::UIWindow> window);
    InAppNotificationC(std::shared_ptr<UIKit::UIWindow> window, std::shared_ptr<InAppNotificationVC> controller);
    void initialize() override;

private:
    std::shared_ptr<UIKit::UIWindow> m_inAppNotificationWindow;
    std::shared_ptr<InAppNotificationVC> m_inAppNotificationVC;
};

} // namespace Corvendale
