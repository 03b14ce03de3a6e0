#pragma once

#include "Platform/UIKit/UIView.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace UIKit {

class UIEvent;
class UIKey;
class UIMenu;
class UIPress;
class UITouch;
class UIViewController;
class UIWindowScene;

// The root of a view tree on screen. A window starts hidden; its frame is in screen coordinates. It keeps
// its own first responder and routes the events the application hands it: touches to the view hit-tested
// where they began (a touch outside a pop-over it shows dismisses the pop-over instead), presses to the
// key commands of the responder chain and then to the first responder (or the window itself when there
// is none).
class UIWindow : public UIView {
public:
    struct Level;

    std::shared_ptr<UIWindowScene> windowScene() const { return m_windowScene.lock(); }
    void setWindowScene(const std::shared_ptr<UIWindowScene>& windowScene);
    Level windowLevel() const;
    void setWindowLevel(Level level);

    // One window of the application is key at a time: the one that receives key presses.
    bool isKeyWindow() const;
    void makeKey();
    void makeKeyAndVisible();
    // Called when the window gains or loses key status.
    virtual void becomeKey() {}
    virtual void resignKey() {}
    // Hiding the key window passes key status to the frontmost visible window of its scene.
    void setIsHidden(bool isHidden) override;

    // The controller shown by the window. Its view fills the window, put in when the window is visible
    // (at once, or when it is shown); the view of the controller it replaces leaves.
    const std::shared_ptr<UIViewController>& rootViewController() const { return m_rootViewController; }
    void setRootViewController(std::shared_ptr<UIViewController> controller);
    // The controllers presented in the window, back to front, wherever in the root's hierarchy they were
    // presented from (a child of a split view presents too); those on their way out included.
    std::vector<std::shared_ptr<UIViewController>> presentedViewControllers() const;
    // The frontmost presented controller that is not on its way out, or the root itself; none without a
    // root.
    std::shared_ptr<UIViewController> topViewController() const;

    // Windows stand by level, and within a level the one shown or made key last stands in front.
    bool isInFrontOf(const UIWindow& other) const;

    // The menu the window shows (a button's, a context menu) until an entry is chosen through
    // `UIMenuSystem::context()` or a tap anywhere dismisses it; none otherwise.
    const std::shared_ptr<UIMenu>& shownMenu() const { return m_shownMenu; }
    void showMenu(std::shared_ptr<UIMenu> menu) { m_shownMenu = std::move(menu); }
    void dismissMenu() { m_shownMenu.reset(); }

    std::shared_ptr<UIResponder> firstResponder() const { return m_firstResponder.lock(); }
    // The view the keyboard's focus is on (full keyboard access), which may be no responder of its own: a
    // button or a table. While nothing is first responder, presses, key commands and actions sent to
    // the first responder go up from it, as they would from the first responder; none once it left the
    // window, and none while it lies behind a screen presented over the window.
    std::shared_ptr<UIView> focusedView() const;
    void setFocusedView(const std::shared_ptr<UIView>& view) { m_focusedView = view; }
    // Where presses and actions start: the first responder, else the focused view (for a text input that
    // ended editing, what holds it), else the window.
    std::shared_ptr<UIResponder> responderChainStart();
    virtual void sendEvent(const std::shared_ptr<UIEvent>& event);

    // The scene's traits; unspecified ones without a scene.
    UITraitCollection traitCollection() const override;
    std::shared_ptr<UIResponder> next() const override;

protected:
    friend Foundation::Construct;
    explicit UIWindow(const std::shared_ptr<UIWindowScene>& windowScene);
    explicit UIWindow(const CGRect& frame = CGRect::zero());
    explicit UIWindow(Foundation::NSCoder& coder);
    void initialize() override;

private:
    friend class UIResponder;
    friend class UIView;
    friend class UIViewController;
    void installRootView();
    // Announces the keyboard when a text input takes focus and when the last one gives it up.
    void setFirstResponder(const std::shared_ptr<UIResponder>& responder);
    // A touch that begins outside the pop-over the window shows goes to it; true when it took the touch.
    bool touchBeganOutsidePopover(const UITouch& touch);
    void sendTouches(const std::shared_ptr<UIEvent>& event);
    void sendPresses(const std::shared_ptr<UIEvent>& event);
    // Matches the key against the key commands of the chain from `responder`, deepest first, then the
    // menu bar's; true when one took it.
    bool performKeyCommand(const UIKey& key, const std::shared_ptr<UIResponder>& responder, const std::shared_ptr<UIEvent>& event);

    std::weak_ptr<UIWindowScene> m_windowScene;
    double m_windowLevel = 0;
    std::shared_ptr<UIViewController> m_rootViewController;
    std::uint64_t m_orderedFrontAt = 0;
    std::shared_ptr<UIMenu> m_shownMenu;
    std::weak_ptr<UIResponder> m_firstResponder;
    std::weak_ptr<UIView> m_focusedView;
    bool m_isHandingOverFocus = false;
    bool m_isShowingKeyboard = false;
    std::vector<std::weak_ptr<UIPress>> m_pressesTakenByKeyCommands;
};

} // namespace UIKit

#include "Platform/UIKit/UIWindow.Level.hpp"
