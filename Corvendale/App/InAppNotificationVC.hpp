#pragma once

#include "Corvendale/App/InAppNotification.hpp"
#include "Corvendale/App/InAppNotificationVDelegate.hpp"

#include "Platform/Foundation/UUID.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <memory>
#include <optional>

namespace UIKit {
class NSLayoutConstraint;
}

namespace Corvendale {

class InAppNotificationV;

// Shows one banner at a time at the top of its view: a newer banner replaces the one shown and its
// time; the banner hides when its time is up or when it is swiped away. One banner view serves all.
class InAppNotificationVC : public UIKit::UIViewController, public InAppNotificationVDelegate {
public:
    const std::shared_ptr<InAppNotificationV>& inAppNotificationV() const { return m_inAppNotificationV; }
    // Whether a banner is on screen.
    bool isShowing() const;

    virtual void present(const InAppNotification& notification, bool animated, double duration);
    virtual void show(const InAppNotification& notification, bool animated);
    virtual void hide(bool animated, bool evenIfHidden);

    void viewDidLoad() override;
    void inAppNotificationVDidPanOrScrollUp(InAppNotificationV& view) override;

protected:
    friend Foundation::Construct;
    InAppNotificationVC();
    virtual void setUpViews();

private:
    std::shared_ptr<InAppNotificationV> m_inAppNotificationV;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_showConstraint;
    std::optional<Foundation::UUID> m_mostRecentPresentationToken;
};

} // namespace Corvendale
