#pragma once

#include "Platform/UIKit/UIViewController.hpp"

#include <memory>
#include <vector>

namespace UIKit {

class UINavigationBar;

// A stack of controllers, each a child; the top one is shown below the navigation bar, which shows the
// stack's navigation items and leads back with its back button. Changes take effect at once: nothing
// slides on a headless screen, but the controllers that come and go hear of it in the platform's order.
class UINavigationController : public UIViewController {
public:
    const std::vector<std::shared_ptr<UIViewController>>& viewControllers() const { return m_viewControllers; }
    virtual void setViewControllers(std::vector<std::shared_ptr<UIViewController>> viewControllers, bool animated);
    std::shared_ptr<UIViewController> topViewController() const;
    virtual void pushViewController(const std::shared_ptr<UIViewController>& viewController, bool animated);
    // The root stays: popping it answers nothing.
    virtual std::shared_ptr<UIViewController> popViewController(bool animated);
    // Pops to the root; answers what left.
    virtual std::vector<std::shared_ptr<UIViewController>> popToRootViewController(bool animated);
    const std::shared_ptr<UINavigationBar>& navigationBar() const { return m_navigationBar; }
    bool isNavigationBarHidden() const { return m_isNavigationBarHidden; }
    void setNavigationBarHidden(bool hidden, bool animated);

protected:
    friend Foundation::Construct;
    UINavigationController();
    UINavigationController(std::optional<Foundation::String> nibName, std::shared_ptr<Foundation::Bundle> bundle);
    // init(rootViewController:): the stack is taken on in `initialize`, once the controller can be a parent.
    explicit UINavigationController(std::shared_ptr<UIViewController> rootViewController);
    void initialize() override;
    // The bar and the top controller's view go in as soon as there is a view to hold them.
    void loadView() override;

private:
    // Lays the bar and the top controller's view out in the view.
    void placeContent();
    void connectBar();

    std::vector<std::shared_ptr<UIViewController>> m_viewControllers;
    std::shared_ptr<UINavigationBar> m_navigationBar;
    std::shared_ptr<UIViewController> m_pendingRoot;
    bool m_isNavigationBarHidden = false;
};

} // namespace UIKit
