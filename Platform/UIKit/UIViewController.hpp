#pragma once

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/UIInterfaceOrientationMask.hpp"
#include "Platform/UIKit/UIModalPresentationStyle.hpp"
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
class UIViewControllerTransitioningDelegate;

// Manages one view, made on first use. Controllers nest (a parent holds its children) and present one
// another modally (the presenter holds what it presents). Presenting and dismissing take effect at once;
// their completions run on a later turn of the main loop, when the transition would be over.
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

    UIModalPresentationStyle modalPresentationStyle() const { return m_modalPresentationStyle; }
    void setModalPresentationStyle(UIModalPresentationStyle style) { m_modalPresentationStyle = style; }
    // Exists while the presentation style is popover: made on first request and kept from then on.
    std::shared_ptr<UIPopoverPresentationController> popoverPresentationController() const;

    // The traits of the view when it is loaded, else of the parent or presenter; asking never loads
    // the view.
    UITraitCollection traitCollection() const;

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

    // The controller of a custom presentation, from its start to the end of its dismissal; none otherwise.
    const std::shared_ptr<UIPresentationController>& presentationController() const { return m_presentationController; }

protected:
    friend Foundation::Construct;
    UIViewController();
    // init(nibName:bundle:)
    UIViewController(std::optional<Foundation::String> nibName, std::shared_ptr<Foundation::Bundle> bundle);
    // init(coder:): a controller described in a storyboard; nothing in its description configures it yet.
    explicit UIViewController(Foundation::NSCoder& coder);

private:
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
    mutable std::shared_ptr<UIPopoverPresentationController> m_popoverPresentationController;
    std::shared_ptr<UINavigationItem> m_navigationItem;
    std::shared_ptr<UITabBarItem> m_tabBarItem;
    CGSize m_preferredContentSize;
    std::int64_t m_statusBarAppearanceUpdateCount = 0;
    bool m_definesPresentationContext = false;
    bool m_isEditing = false;
    std::weak_ptr<UIViewControllerTransitioningDelegate> m_transitioningDelegate;
    std::shared_ptr<UIPresentationController> m_presentationController;
};

} // namespace UIKit
