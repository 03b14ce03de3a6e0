#pragma once

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UINavigationController.hpp"

#include <memory>

namespace Basalwork {

// Common base of navigation coordinators; built in code from a root controller only.
class CoordinatingNavigationController : public UIKit::UINavigationController {
protected:
    friend Foundation::Construct;
    // init(rootViewController:)
    explicit CoordinatingNavigationController(std::shared_ptr<UIKit::UIViewController> rootViewController)
        : UINavigationController(std::nullopt, nullptr)
        , m_rootViewController(std::move(rootViewController))
    {
    }
    // Coordinators are built in code only.
    explicit CoordinatingNavigationController(Foundation::NSCoder& /*coder*/)
        : UINavigationController(std::nullopt, nullptr)
    {
        Foundation::fatalError("init(coder:) has not been implemented");
    }
    void initialize() override
    {
        UINavigationController::initialize();
        if (auto root = std::move(m_rootViewController))
            setViewControllers({root}, false);
    }

private:
    // Held only until `initialize`: the stack needs the controller's own pointer to take it on.
    std::shared_ptr<UIKit::UIViewController> m_rootViewController;
};

} // namespace Basalwork
