#pragma once

#include "Platform/UIKit/UIViewController.hpp"

#include <memory>
#include <vector>

namespace UIKit {

class UINavigationBar;

// A stack of controllers, each a child; the top one is shown. Changes take effect at once: nothing
// slides on a headless screen.
class UINavigationController : public UIViewController {
public:
    const std::vector<std::shared_ptr<UIViewController>>& viewControllers() const { return m_viewControllers; }
    virtual void setViewControllers(std::vector<std::shared_ptr<UIViewController>> viewControllers, bool animated);
    std::shared_ptr<UIViewController> topViewController() const;
    virtual void pushViewController(const std::shared_ptr<UIViewController>& viewController, bool animated);
    // The root stays: popping it answers nothing.
    virtual std::shared_ptr<UIViewController> popViewController(bool animated);
    const std::shared_ptr<UINavigationBar>& navigationBar() const { return m_navigationBar; }

protected:
    friend Foundation::Construct;
    UINavigationController();
    UINavigationController(std::optional<Foundation::String> nibName, std::shared_ptr<Foundation::Bundle> bundle);
    // The top controller's view goes in as soon as there is a view to hold it.
    void loadView() override;

private:
    void show(const std::shared_ptr<UIViewController>& viewController);
    void hide(const std::shared_ptr<UIViewController>& viewController);

    std::vector<std::shared_ptr<UIViewController>> m_viewControllers;
    std::shared_ptr<UINavigationBar> m_navigationBar;
};

} // namespace UIKit
