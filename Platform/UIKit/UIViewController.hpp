#pragma once

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIModalPresentationStyle.hpp"
#include "Platform/UIKit/UIResponder.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

class UIPopoverPresentationController;
class UIView;

// Manages one view, made on first use. Controllers nest (a parent holds its children) and present one
// another modally (the presenter holds what it presents). Presenting and dismissing take effect at once;
// their completions run on a later turn of the main loop, when the transition would be over.
class UIViewController : public UIResponder {
public:
    // The view, made by `loadView` and announced by `viewDidLoad` on first use.
    const std::shared_ptr<UIView>& view();
    std::shared_ptr<UIView> viewIfLoaded() const { return m_view; }
    bool isViewLoaded() const { return m_view != nullptr; }
    void setView(std::shared_ptr<UIView> view) { m_view = std::move(view); }
    void loadViewIfNeeded();
    // Makes a plain view the size of the main screen; subclasses make their own and set it.
    virtual void loadView();
    virtual void viewDidLoad() {}

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

protected:
    friend Foundation::Construct;
    UIViewController() = default;
    // init(nibName:bundle:)
    UIViewController(std::optional<Foundation::String> nibName, std::shared_ptr<Foundation::Bundle> bundle)
        : m_nibName(std::move(nibName))
        , m_nibBundle(std::move(bundle))
    {
    }

private:
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
};

} // namespace UIKit
