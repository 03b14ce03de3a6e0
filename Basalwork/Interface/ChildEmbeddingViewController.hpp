#pragma once

#include "Platform/UIKit/UIViewController.hpp"

#include <functional>
#include <memory>

namespace Basalwork {

// Shows one child controller filling its view and swaps it for another with a short cross-fade. A child
// handed over before the view exists waits for `viewDidLoad`, but already answers for status bar,
// orientation and bar items, so the container looks right from the first frame.
class ChildEmbeddingViewController : public UIKit::UIViewController {
public:
    // Swaps now when the view is loaded; otherwise keeps the controller (replacing one kept earlier) for
    // `viewDidLoad`, which shows it without animation.
    virtual void embed(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated);
    // The container's state changes only once the fade is over: until then the old child is still the
    // current one and still underneath the new one.
    virtual void replaceCurrentlyEmbeddedVC(const std::shared_ptr<UIKit::UIViewController>& with, bool animated,
                                            std::function<void()> completion);
    // The waiting child if there is one, else the one on screen.
    virtual std::shared_ptr<UIKit::UIViewController> embeddedViewController() const;

    void viewDidLoad() override;

    std::shared_ptr<UIKit::UIViewController> childForStatusBarStyle() const override { return embeddedViewController(); }
    std::shared_ptr<UIKit::UIViewController> childForStatusBarHidden() const override { return embeddedViewController(); }
    UIKit::UIInterfaceOrientationMask supportedInterfaceOrientations() const override;
    bool shouldAutorotate() const override;
    bool definesPresentationContext() const override;
    void setDefinesPresentationContext(bool defines) override;
    std::shared_ptr<UIKit::UINavigationItem> navigationItem() override;
    std::shared_ptr<UIKit::UITabBarItem> tabBarItem() override;
    void setTabBarItem(std::shared_ptr<UIKit::UITabBarItem> item) override;

protected:
    friend Foundation::Construct;
    ChildEmbeddingViewController(std::optional<Foundation::String> nibName, std::shared_ptr<Foundation::Bundle> bundle)
        : UIViewController(std::move(nibName), std::move(bundle))
    {
    }

private:
    void finishReplacing(const std::shared_ptr<UIKit::UIViewController>& incoming,
                         const std::shared_ptr<UIKit::UIViewController>& outgoing, const std::function<void()>& completion);

    std::shared_ptr<UIKit::UIViewController> m_viewControllerToEmbedOnViewDidLoad;
    std::shared_ptr<UIKit::UIViewController> m_currentlyEmbeddedVC;
};

} // namespace Basalwork
