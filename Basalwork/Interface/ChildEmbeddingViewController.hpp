#pragma once

#include "Platform/UIKit/UIViewController.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

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
    // current one and still underneath the new one. A swap requested during a fade takes over: when it
    // ends, its child alone is left, and every child in between has left too; completions of swaps it
    // took over run then, in order. Swapping in the child that is already shown keeps it.
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
    explicit ChildEmbeddingViewController(Foundation::NSCoder& coder)
        : UIViewController(coder)
    {
    }

private:
    bool contains(const std::vector<std::shared_ptr<UIKit::UIViewController>>& children,
                  const std::shared_ptr<UIKit::UIViewController>& child) const;
    // Ends the swap of that number unless a later one took over.
    void finishReplacing(std::uint64_t swap);

    std::shared_ptr<UIKit::UIViewController> m_viewControllerToEmbedOnViewDidLoad;
    std::shared_ptr<UIKit::UIViewController> m_currentlyEmbeddedVC;
    // While swaps fade: the child the latest one brings in, every child in the container's view (the
    // current one included), those of them told they leave, and the completions to run at the end.
    std::shared_ptr<UIKit::UIViewController> m_incomingVC;
    std::vector<std::shared_ptr<UIKit::UIViewController>> m_swappedChildren;
    std::vector<std::shared_ptr<UIKit::UIViewController>> m_leavingChildren;
    std::vector<std::function<void()>> m_pendingCompletions;
    std::uint64_t m_latestSwap = 0;
};

} // namespace Basalwork
