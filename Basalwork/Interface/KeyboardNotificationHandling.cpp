#include "Basalwork/Interface/KeyboardNotificationHandling.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIResponder.hpp"

#include <algorithm>
#include <any>
#include <cstdint>

namespace Basalwork {
namespace {

const std::any* userInfoValue(const Foundation::Notification& notification, const Foundation::String& key)
{
    if (!notification.userInfo())
        return nullptr;
    auto found = notification.userInfo()->find(key);
    return found == notification.userInfo()->end() ? nullptr : &found->second;
}

std::optional<UIKit::CGRect> keyboardEndFrame(const Foundation::Notification& notification)
{
    auto value = userInfoValue(notification, UIKit::UIResponder::keyboardFrameEndUserInfoKey());
    if (auto rect = value ? std::any_cast<UIKit::CGRect>(value) : nullptr)
        return *rect;
    return std::nullopt;
}

} // namespace

void registerForKeyboardNotifications(const std::shared_ptr<KeyboardNotificationHandling>& handler)
{
    std::weak_ptr<KeyboardNotificationHandling> weak = handler;
    auto center = Foundation::NotificationCenter::defaultCenter();
    center->addObserver(UIKit::UIResponder::keyboardWillShowNotification(), nullptr, Foundation::OperationQueue::main(),
                        [weak](const Foundation::Notification& notification) {
                            if (auto strong = weak.lock())
                                strong->keyboardWillShow(notification);
                        });
    center->addObserver(UIKit::UIResponder::keyboardWillHideNotification(), nullptr, Foundation::OperationQueue::main(),
                        [weak](const Foundation::Notification& notification) {
                            if (auto strong = weak.lock())
                                strong->keyboardWillHide(notification);
                        });
}

void adjustInsets(UIKit::UIScrollView& ofFullScreenScrollView, const Foundation::Notification& forKeyboardWillShowNotification)
{
    auto frame = keyboardEndFrame(forKeyboardWillShowNotification);
    if (!frame)
        return;
    auto inset = ofFullScreenScrollView.contentInset();
    inset.bottom = frame->size.height - ofFullScreenScrollView.safeAreaInsets().bottom;
    ofFullScreenScrollView.setContentInset(inset);
    ofFullScreenScrollView.setScrollIndicatorInsets(inset);
}

void adjustInsetsForKeyboardWillHide(UIKit::UIScrollView& ofFullScreenScrollView, const Foundation::Notification&)
{
    auto inset = ofFullScreenScrollView.contentInset();
    inset.bottom = 0;
    ofFullScreenScrollView.setContentInset(inset);
    auto indicator = ofFullScreenScrollView.verticalScrollIndicatorInsets();
    indicator.bottom = 0;
    ofFullScreenScrollView.setVerticalScrollIndicatorInsets(indicator);
}

UIKit::CGFloat keyboardDistanceToSafeAreaBottom(const Foundation::Notification& from, const UIKit::UIView& in)
{
    auto frame = keyboardEndFrame(from);
    if (!frame)
        return 0;
    const auto keyboard = in.convertFrom(*frame, nullptr);
    const auto insets = in.safeAreaInsets();
    const auto bounds = in.bounds();
    // The safe area, grown by the bottom inset at its top and at its bottom.
    const UIKit::CGFloat top = bounds.origin.y + insets.top - insets.bottom;
    const UIKit::CGFloat bottom = bounds.origin.y + bounds.size.height - insets.bottom + insets.bottom;
    const UIKit::CGFloat left = bounds.origin.x + insets.left;
    const UIKit::CGFloat right = bounds.origin.x + bounds.size.width - insets.right;
    const UIKit::CGFloat overlapX = std::min(right, keyboard.origin.x + keyboard.size.width) - std::max(left, keyboard.origin.x);
    const UIKit::CGFloat overlapY = std::min(bottom, keyboard.origin.y + keyboard.size.height) - std::max(top, keyboard.origin.y);
    return overlapX > 0 && overlapY > 0 ? overlapY : 0;
}

std::optional<double> keyboardAnimationDuration(const Foundation::Notification& from)
{
    auto value = userInfoValue(from, UIKit::UIResponder::keyboardAnimationDurationUserInfoKey());
    if (auto duration = value ? std::any_cast<double>(value) : nullptr)
        return *duration;
    return std::nullopt;
}

UIKit::UIView::AnimationOptions keyboardAnimationCurveOptions(const Foundation::Notification& from)
{
    auto value = userInfoValue(from, UIKit::UIResponder::keyboardAnimationCurveUserInfoKey());
    if (!value)
        return {};
    if (auto curve = std::any_cast<std::uint64_t>(value))
        return {*curve};
    if (auto curve = std::any_cast<std::int64_t>(value))
        return {static_cast<std::uint64_t>(*curve)};
    return {};
}

void animateWithKeyboardChange(const Foundation::Notification& from, double fallbackDuration,
                               const std::function<void()>& animations, std::function<void(bool)> completion)
{
    UIKit::UIView::animate(keyboardAnimationDuration(from).value_or(fallbackDuration), 0.0,
                           keyboardAnimationCurveOptions(from), animations, std::move(completion));
}

} // namespace Basalwork
