#pragma once

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/UIInterfaceOrientationMask.hpp"
#include "Platform/UIKit/UIModalPresentationStyle.hpp"
#include "Platform/UIKit/UIModalTransitionStyle.hpp"
#include "Platform/UIKit/UIStatusBarStyle.hpp"
#include "Platform/UIKit/UIResponder.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Foundation {
class NSCoder;
}

namespace UIKit {

class UINavigationController;
class UINavigationItem;
class UIPopoverPresentationController;
class UIPresentationController;
class UISplitViewController;
class UITabBarController;
class UITabBarItem;
class UIView;
class UIViewControllerTransitionCoordinator;
class UIViewControllerTransitioningDelegate;
class UIWindow;

// Manages one view, made on first use. Controllers nest (a parent holds its children) and present one
// another modally (the presenter holds what it presents). A presented controller's view goes into the
// presenter's window at once; the transition ends, and the completion runs, on a later turn of the main
// loop. A controller is in the responder chain between its view and its parent (or presenter, or its
// view's superview).
class UIViewController : public UIResponder {
public:
    // The view, made by `loadView` and announced by `viewDidLoad` on first use.
    const std::shared_ptr<UIView>& view();
    std::shared_ptr<UIView> viewIfLoaded() const { return m_view; }
    bool isViewLoaded() const { return m_view != nullptr; }
    // The view learns its controller, which it tells around its own layout.
    void setView(std::shared_ptr<UIView> view);
    void loadViewIfNeeded();
    // Makes a plain view the size of the main screen; subclasses make their own and set it.
    virtual void loadView();
    virtual void viewDidLoad() {}
    // Called each time the view lays out its subviews: before, and after (before the subviews lay out
    // their own).
    virtual void viewWillLayoutSubviews() {}
    virtual void viewDidLayoutSubviews() {}

    const std::optional<Foundation::String>& nibName() const { return m_nibName; }
    const std::shared_ptr<Foundation::Bundle>& nibBundle() const { return m_nibBundle; }

    // Appearance, in the platform's order: "will" as the view is about to enter or leave a visible window
    // (the window shown or hidden, the view added or removed, a presentation, a container showing another
    // child), "did" once it has; for a presentation and a dismissal "did" comes when the transition ends.
    // Each controller passes them on to the children whose views are inside its own.
    virtual void viewWillAppear(bool /*animated*/) {}
    virtual void viewDidAppear(bool /*animated*/) {}
    virtual void viewWillDisappear(bool /*animated*/) {}
    virtual void viewDidDisappear(bool /*animated*/) {}
    // For containers that move a child's view themselves; a call that would not change the state is ignored.
    void beginAppearanceTransition(bool isAppearing, bool animated);
    void endAppearanceTransition();
    // Appeared, or appearing.
    bool isViewVisible() const { return m_appearance == Appearance::appeared || m_appearance == Appearance::appearing; }

    std::shared_ptr<UIResponder> next() const override;

    // The traits are about to change (the scene's size class, for one); the coordinator runs what is given
    // it along with the change and after it. Passed on to the children.
    virtual void willTransition(const UITraitCollection& to, const std::shared_ptr<UIViewControllerTransitionCoordinator>& with);

    // show(_:sender:): pushed onto the navigation stack the controller is in, else presented.
    virtual void show(const std::shared_ptr<UIViewController>& viewController, const std::shared_ptr<Foundation::NSObject>& sender);
    // showDetailViewController(_:sender:): handed to the split view the controller is in, else presented.
    virtual void showDetailViewController(const std::shared_ptr<UIViewController>& viewController,
                                          const std::shared_ptr<Foundation::NSObject>& sender);

    // Containment. `addChild` tells the child `willMove` itself, `removeFromParent` tells it `didMove`
    // with no parent; the other half of each is the container's call.
    std::shared_ptr<UIViewController> parent() const { return m_parent.lock(); }
    const std::vector<std::shared_ptr<UIViewController>>& children() const { return m_children; }
    void addChild(const std::shared_ptr<UIViewController>& child);
    void removeFromParent();
    virtual void willMove(const std::shared_ptr<UIViewController>& /*toParent*/) {}
    virtual void didMove(const std::shared_ptr<UIViewController>& /*toParent*/) {}

    // Modal presentation. Presenting a controller that is already presented or has a parent, or
    // presenting a controller on itself, stops the program. A controller that already presents one
    // presents no second: the request is logged and dropped, as the platform does.
    virtual void present(const std::shared_ptr<UIViewController>& viewController, bool animated,
                         std::function<void()> completion = nullptr);
    // Dismisses what this controller presents, or, when it presents nothing, this controller itself,
    // together with everything presented on top. The completion always runs, also when there is nothing
    // to dismiss, so no caller waits for it forever.
    virtual void dismiss(bool animated, std::function<void()> completion = nullptr);
    const std::shared_ptr<UIViewController>& presentedViewController() const { return m_presentedViewController; }
    std::shared_ptr<UIViewController> presentingViewController() const { return m_presentingViewController.lock(); }
    bool isBeingPresented() const { return m_isBeingPresented; }
    bool isBeingDismissed() const { return m_isBeingDismissed; }

    // Automatic shows as a page sheet. Sheets and alerts are centred in the presenter's window in their
    // preferred content size (540 by 620 points without one); a pop-over sits beside its anchor; full
    // screen takes the presenting context's view out of the window once it is up.
    UIModalPresentationStyle modalPresentationStyle() const { return m_modalPresentationStyle; }
    void setModalPresentationStyle(UIModalPresentationStyle style) { m_modalPresentationStyle = style; }
    UIModalTransitionStyle modalTransitionStyle() const { return m_modalTransitionStyle; }
    void setModalTransitionStyle(UIModalTransitionStyle style) { m_modalTransitionStyle = style; }
    // Keeps the user from dismissing the controller (a tap outside a pop-over); the presentation
    // controller's delegate hears of the attempt instead. Dismissing in code is not affected.
    bool isModalInPresentation() const { return m_isModalInPresentation; }
    void setIsModalInPresentation(bool modal) { m_isModalInPresentation = modal; }
    // Exists while the presentation style is popover: made on first request and kept from then on.
    std::shared_ptr<UIPopoverPresentationController> popoverPresentationController() const;

    // The traits of the view when it is loaded, else of the parent or presenter; asking never loads
    // the view.
    UITraitCollection traitCollection() const;
    // Given to the view, now or when it loads: the controller's screens take this appearance whatever
    // the system's.
    UIUserInterfaceStyle overrideUserInterfaceStyle() const { return m_overrideUserInterfaceStyle; }
    void setOverrideUserInterfaceStyle(UIUserInterfaceStyle style);

    // The closest ancestor of each container kind; none outside one.
    std::shared_ptr<UINavigationController> navigationController() const;
    std::shared_ptr<UITabBarController> tabBarController() const;
    std::shared_ptr<UISplitViewController> splitViewController() const;

    // Bar items, made on first request. Containers override them to speak for a child.
    virtual std::shared_ptr<UINavigationItem> navigationItem();
    virtual std::shared_ptr<UITabBarItem> tabBarItem();
    virtual void setTabBarItem(std::shared_ptr<UITabBarItem> item) { m_tabBarItem = std::move(item); }

    // The size the controller asks for when shown in a pop-over; zero leaves it to the presenter.
    CGSize preferredContentSize() const { return m_preferredContentSize; }
    virtual void setPreferredContentSize(CGSize size) { m_preferredContentSize = size; }

    // Status bar: a container names the child whose preferences count instead of its own.
    virtual UIStatusBarStyle preferredStatusBarStyle() const { return UIStatusBarStyle::defaultStyle; }
    virtual bool prefersStatusBarHidden() const { return false; }
    virtual std::shared_ptr<UIViewController> childForStatusBarStyle() const { return nullptr; }
    virtual std::shared_ptr<UIViewController> childForStatusBarHidden() const { return nullptr; }
    // No status bar is drawn; the requests are counted so that callers can be checked.
    void setNeedsStatusBarAppearanceUpdate() { ++m_statusBarAppearanceUpdateCount; }
    std::int64_t statusBarAppearanceUpdateCount() const { return m_statusBarAppearanceUpdateCount; }

    virtual UIInterfaceOrientationMask supportedInterfaceOrientations() const { return UIInterfaceOrientationMask::all(); }
    virtual bool shouldAutorotate() const { return true; }
    virtual bool definesPresentationContext() const { return m_definesPresentationContext; }
    virtual void setDefinesPresentationContext(bool defines) { m_definesPresentationContext = defines; }

    bool isEditing() const { return m_isEditing; }
    virtual void setEditing(bool editing, bool /*animated*/) { m_isEditing = editing; }

    // Consulted when the presentation style is custom; held weakly, as the platform does.
    std::shared_ptr<UIViewControllerTransitioningDelegate> transitioningDelegate() const { return m_transitioningDelegate.lock(); }
    void setTransitioningDelegate(const std::shared_ptr<UIViewControllerTransitioningDelegate>& delegate)
    {
        m_transitioningDelegate = delegate;
    }

    // The controller of the coming or current presentation: made on first request (the pop-over controller
    // for a pop-over; a custom presentation's own once it starts) and let go when the dismissal ends.
    std::shared_ptr<UIPresentationController> presentationController();

protected:
    friend Foundation::Construct;
    UIViewController();
    std::shared_ptr<UIWindow> firstResponderWindow() const override;
    // For containers that move their children's views themselves: the controller's appearance change
    // begins now and ends with `endHeldAppearance`, however its view moves in between.
    static void beginHeldAppearance(const std::shared_ptr<UIViewController>& controller, bool appearing, bool animated);
    static void endHeldAppearance(const std::shared_ptr<UIViewController>& controller);
    // init(nibName:bundle:)
    UIViewController(std::optional<Foundation::String> nibName, std::shared_ptr<Foundation::Bundle> bundle);
    // init(coder:): a controller described in a storyboard; nothing in its description configures it yet.
    explicit UIViewController(Foundation::NSCoder& coder);

private:
    friend class UIView;
    friend class UIWindow;
    enum class Appearance { disappeared, appearing, appeared, disappearing };
    // One modal presentation, kept by the presented controller until its dismissal ends.
    struct Presentation {
        UIModalPresentationStyle style;
        bool custom = false;
        // A full-screen presentation takes this controller's view out of the window once it is up.
        std::weak_ptr<UIViewController> covered;
        std::weak_ptr<UIView> coveredSuperview;
        std::size_t coveredIndex = 0;
        // The first responder when the presentation began, given focus again when it ends.
        std::weak_ptr<UIResponder> focusToRestore;
    };

    // The views of the subtree enter (or leave) a visible window: the controllers of the subtree's views
    // that no transition holds begin their appearance change; `endAppearance` ends it after the move.
    static std::vector<std::shared_ptr<UIViewController>> beginAppearance(const UIView& subtree, bool appearing);
    static void endAppearance(const std::vector<std::shared_ptr<UIViewController>>& controllers);
    // A presentation in progress calls the appearance methods of its controllers itself.
    bool isAppearanceHeld() const;
    std::vector<std::shared_ptr<UIViewController>> childrenInView() const;
    // The style the presented controller shows in, and its frame, in this window.
    UIModalPresentationStyle resolvedStyle(const std::shared_ptr<UIViewController>& presented, const UIWindow& window);
    CGRect presentedFrame(const std::shared_ptr<UIViewController>& presented, UIModalPresentationStyle style,
                          const UIWindow& window);
    // The controller whose view a full-screen or current-context presentation from here covers.
    std::shared_ptr<UIViewController> presentationContext(UIModalPresentationStyle style);
    // What a tap outside a presented pop-over does: true when it dismissed it.
    bool dismissForTapOutside();
    // Presentation through the transitioning delegate's objects; false when it supplies none.
    bool presentCustom(const std::shared_ptr<UIViewController>& viewController, bool animated, std::function<void()>& completion);
    bool dismissCustom(const std::shared_ptr<UIViewController>& viewController, bool animated, std::function<void()>& completion);
    static void unlinkPresented(UIViewController& presented);

    std::optional<Foundation::String> m_nibName;
    std::shared_ptr<Foundation::Bundle> m_nibBundle;
    std::shared_ptr<UIView> m_view;
    std::weak_ptr<UIViewController> m_parent;
    std::vector<std::shared_ptr<UIViewController>> m_children;
    std::shared_ptr<UIViewController> m_presentedViewController;
    std::weak_ptr<UIViewController> m_presentingViewController;
    bool m_isBeingPresented = false;
    bool m_isBeingDismissed = false;
    UIModalPresentationStyle m_modalPresentationStyle = UIModalPresentationStyle::automatic;
    UIModalTransitionStyle m_modalTransitionStyle = UIModalTransitionStyle::coverVertical;
    UIUserInterfaceStyle m_overrideUserInterfaceStyle = UIUserInterfaceStyle::unspecified;
    mutable std::shared_ptr<UIPopoverPresentationController> m_popoverPresentationController;
    std::shared_ptr<UINavigationItem> m_navigationItem;
    std::shared_ptr<UITabBarItem> m_tabBarItem;
    CGSize m_preferredContentSize;
    std::int64_t m_statusBarAppearanceUpdateCount = 0;
    bool m_definesPresentationContext = false;
    bool m_isEditing = false;
    std::weak_ptr<UIViewControllerTransitioningDelegate> m_transitioningDelegate;
    std::shared_ptr<UIPresentationController> m_presentationController;
    std::unique_ptr<Presentation> m_presentation;
    Appearance m_appearance = Appearance::disappeared;
    bool m_appearanceAnimated = false;
    int m_appearanceHolds = 0;
    bool m_isModalInPresentation = false;
};

} // namespace UIKit
