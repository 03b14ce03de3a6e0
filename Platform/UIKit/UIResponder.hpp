#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/Selector.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

class UICommand;
class UIEvent;
class UIKeyCommand;
class UIMenuBuilder;
class UIPress;
class UITouch;
class UIWindow;

// An object in the responder chain. Events a responder does not handle go on to its next responder. Each
// window keeps its own first responder, the one that receives key presses.
class UIResponder : public Foundation::NSObject {
public:
    virtual std::shared_ptr<UIResponder> next() const { return nullptr; }

    // The keyboard's announcements. Their user info holds the end frame (a CGRect, in screen
    // coordinates) under `keyboardFrameEndUserInfoKey`, the duration (a double) and the curve (an
    // unsigned integer).
    static Foundation::Notification::Name keyboardWillShowNotification()
    {
        return Foundation::Notification::Name("UIKeyboardWillShowNotification");
    }
    static Foundation::Notification::Name keyboardWillHideNotification()
    {
        return Foundation::Notification::Name("UIKeyboardWillHideNotification");
    }
    static Foundation::String keyboardFrameEndUserInfoKey() { return "UIKeyboardFrameEndUserInfoKey"; }
    static Foundation::String keyboardAnimationDurationUserInfoKey() { return "UIKeyboardAnimationDurationUserInfoKey"; }
    static Foundation::String keyboardAnimationCurveUserInfoKey() { return "UIKeyboardAnimationCurveUserInfoKey"; }

    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool canResignFirstResponder() const { return true; }
    // Fails without a window, when this responder declines, or when the current first responder of the
    // window will not resign.
    virtual bool becomeFirstResponder();
    virtual bool resignFirstResponder();
    virtual bool isFirstResponder() const;

    // The key commands this responder offers while it is in the responder chain; nothing by default.
    virtual std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> keyCommands() const { return std::nullopt; }

    // Actions by selector (menu commands, key commands, controls without a target). By default a
    // responder can perform an action when its class answers the selector (`Foundation::MethodTable`).
    virtual bool canPerformAction(Foundation::Selector action, const std::shared_ptr<Foundation::NSObject>& sender);
    // This responder when it can perform the action, else the next one's answer; none at the chain's end.
    virtual std::shared_ptr<UIResponder> target(Foundation::Selector forAction,
                                                const std::shared_ptr<Foundation::NSObject>& sender);
    // Called on a command's target before the command shows in a menu: the target may change the
    // command's title, attributes and state. Nothing by default.
    virtual void validate(const std::shared_ptr<UICommand>& /*command*/) {}
    // buildMenu(with:): the application and its delegate shape the menu bar here. Nothing by default.
    virtual void buildMenu(UIMenuBuilder& /*builder*/) {}

    virtual void touchesBegan(const std::vector<std::shared_ptr<UITouch>>& touches,
                              const std::shared_ptr<UIEvent>& event);
    virtual void touchesMoved(const std::vector<std::shared_ptr<UITouch>>& touches,
                              const std::shared_ptr<UIEvent>& event);
    virtual void touchesEnded(const std::vector<std::shared_ptr<UITouch>>& touches,
                              const std::shared_ptr<UIEvent>& event);
    virtual void touchesCancelled(const std::vector<std::shared_ptr<UITouch>>& touches,
                                  const std::shared_ptr<UIEvent>& event);

    virtual void pressesBegan(const std::vector<std::shared_ptr<UIPress>>& presses,
                              const std::shared_ptr<UIEvent>& event);
    virtual void pressesChanged(const std::vector<std::shared_ptr<UIPress>>& presses,
                                const std::shared_ptr<UIEvent>& event);
    virtual void pressesEnded(const std::vector<std::shared_ptr<UIPress>>& presses,
                              const std::shared_ptr<UIEvent>& event);
    virtual void pressesCancelled(const std::vector<std::shared_ptr<UIPress>>& presses,
                                  const std::shared_ptr<UIEvent>& event);

protected:
    UIResponder() = default;
    // The window whose first responder this responder would be; none while it is in no window.
    virtual std::shared_ptr<UIWindow> firstResponderWindow() const { return nullptr; }
};

} // namespace UIKit
