#pragma once

#include "Platform/Foundation/Notification.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace Basalwork {

// Keyboard handling for screens whose scroll view fills the screen: the adopter says what to do when the
// keyboard shows or hides; the rest is supplied.
class KeyboardNotificationHandling {
public:
    virtual ~KeyboardNotificationHandling() = default;
    virtual void keyboardWillShow(const Foundation::Notification& notification) = 0;
    virtual void keyboardWillHide(const Foundation::Notification& notification) = 0;
};

// Observers on the default centre, on the main queue, holding the adopter weakly; never removed.
void registerForKeyboardNotifications(const std::shared_ptr<KeyboardNotificationHandling>& handler);

// The keyboard covers the scroll view's bottom, less what the safe area already keeps clear there.
void adjustInsets(UIKit::UIScrollView& ofFullScreenScrollView, const Foundation::Notification& forKeyboardWillShowNotification);
void adjustInsetsForKeyboardWillHide(UIKit::UIScrollView& ofFullScreenScrollView,
                                     const Foundation::Notification& forKeyboardWillHideNotification);
// How far the keyboard reaches into the view's safe area grown by the bottom safe-area inset; 0 without
// a keyboard frame.
UIKit::CGFloat keyboardDistanceToSafeAreaBottom(const Foundation::Notification& from, const UIKit::UIView& in);
std::optional<double> keyboardAnimationDuration(const Foundation::Notification& from);
// The curve number as the raw option bits, unshifted.
UIKit::UIView::AnimationOptions keyboardAnimationCurveOptions(const Foundation::Notification& from);
void animateWithKeyboardChange(const Foundation::Notification& from, double fallbackDuration,
                               const std::function<void()>& animations, std::function<void(bool)> completion);

} // namespace Basalwork
