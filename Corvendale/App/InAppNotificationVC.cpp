#include "Corvendale/App/InAppNotificationVC.hpp"

#include "Corvendale/App/InAppNotificationV.hpp"

#include "Basalwork/Base/DispatchQueue.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UILayoutGuide.hpp"
#include "Platform/UIKit/UILayoutPriority.hpp"
#include "Platform/UIKit/UIView.AnimationOptions.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace Corvendale {

namespace {

constexpr double animationDuration = 0.5;

void perform(bool animated, const std::function<void()>& changes)
{
    if (animated)
        UIKit::UIView::animate(animationDuration, 0, {}, changes, nullptr);
    else
        changes();
}

} // namespace

InAppNotificationVC::InAppNotificationVC()
    : UIViewController(std::nullopt, nullptr)
{
}

void InAppNotificationVC::viewDidLoad()
{
    UIViewController::viewDidLoad();
    setUpViews();
}

void InAppNotificationVC::setUpViews()
{
    const auto& root = view();
    root->setAccessibilityIdentifier(Foundation::String("InAppNotificationVC"));
    m_inAppNotificationV = Foundation::make<InAppNotificationV>();
    root->addSubview(m_inAppNotificationV);
    m_inAppNotificationV->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_inAppNotificationV->setDelegate(sharedSelf(this));

    const auto& banner = *m_inAppNotificationV;
    const auto& margins = *root->layoutMarginsGuide();
    // At rest the banner waits just above the top edge.
    auto resting = banner.bottomAnchor().constraintEqualTo(root->topAnchor());
    resting->setPriority(UIKit::UILayoutPriority {1});
    UIKit::NSLayoutConstraint::activate({
        banner.centerXAnchor().constraintEqualTo(root->centerXAnchor()),
        banner.leadingAnchor().constraintGreaterThanOrEqualTo(margins.leadingAnchor()),
        banner.trailingAnchor().constraintLessThanOrEqualTo(margins.trailingAnchor()),
        resting,
    });
    m_showConstraint = banner.topAnchor().constraintEqualTo(margins.topAnchor());
    hide(false, true);
}

bool InAppNotificationVC::isShowing() const
{
    return m_showConstraint && m_showConstraint->isActive();
}

void InAppNotificationVC::present(const InAppNotification& notification, bool animated, double duration)
{
    loadViewIfNeeded();
    const Foundation::UUID token;
    m_mostRecentPresentationToken = token;
    show(notification, animated);
    Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), duration, [self = sharedSelf(this), token] {
        if (self->m_mostRecentPresentationToken == token && self->isShowing())
            self->hide(true, false);
    });
}

void InAppNotificationVC::show(const InAppNotification& notification, bool animated)
{
    m_inAppNotificationV->configure({notification.titleText, notification.subtitleText});
    // A hidden banner takes its new size first, so it slides in from its resting place.
    if (!isShowing())
        m_inAppNotificationV->layoutIfNeeded();
    perform(animated, [this] {
        m_showConstraint->setIsActive(true);
        m_inAppNotificationV->setAlpha(1);
        view()->layoutIfNeeded();
    });
}

void InAppNotificationVC::hide(bool animated, bool evenIfHidden)
{
    if (!isShowing() && !evenIfHidden)
        return;
    perform(animated, [this] {
        m_showConstraint->setIsActive(false);
        m_inAppNotificationV->setAlpha(0);
        view()->layoutIfNeeded();
    });
}

void InAppNotificationVC::inAppNotificationVDidPanOrScrollUp(InAppNotificationV&)
{
    // The pending timer of the banner later finds it hidden and does nothing.
    if (isShowing())
        hide(true, false);
}

} // namespace Corvendale
