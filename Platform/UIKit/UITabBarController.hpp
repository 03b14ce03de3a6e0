#pragma once

#include "Platform/UIKit/UIViewController.hpp"

#include <cstddef>
#include <memory>
#include <vector>

namespace UIKit {

class UITab;

// Shows one of its tabs' controllers at a time, filling its view; every tab's controller is a child.
// Selecting another tab swaps the views, and the two controllers hear of it in the platform's order.
class UITabBarController : public UIViewController {
public:
    const std::vector<std::shared_ptr<UITab>>& tabs() const { return m_tabs; }
    virtual void setTabs(std::vector<std::shared_ptr<UITab>> tabs, bool animated);
    std::vector<std::shared_ptr<UIViewController>> viewControllers() const;
    std::size_t selectedIndex() const { return m_selectedIndex; }
    // An index past the end is ignored.
    void setSelectedIndex(std::size_t index);
    std::shared_ptr<UIViewController> selectedViewController() const;

protected:
    friend Foundation::Construct;
    UITabBarController() = default;
    UITabBarController(std::optional<Foundation::String> nibName, std::shared_ptr<Foundation::Bundle> bundle)
        : UIViewController(std::move(nibName), std::move(bundle))
    {
    }
    explicit UITabBarController(Foundation::NSCoder& coder)
        : UIViewController(coder)
    {
    }
    // init(tabs:): the tabs are taken on in `initialize`, once the controller can be a parent.
    explicit UITabBarController(std::vector<std::shared_ptr<UITab>> tabs)
        : m_pendingTabs(std::move(tabs))
    {
    }
    void initialize() override;
    void loadView() override;

private:
    // Shows `controller` in place of `previous`.
    void showSelected(const std::shared_ptr<UIViewController>& previous, bool animated);
    std::vector<std::shared_ptr<UITab>> m_tabs;
    std::vector<std::shared_ptr<UITab>> m_pendingTabs;
    std::size_t m_selectedIndex = 0;
};

} // namespace UIKit
