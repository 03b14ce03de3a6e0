#include "Platform/UIKit/UISplitViewController.hpp"

namespace UIKit {

std::shared_ptr<UIViewController> UISplitViewController::viewController(Column forColumn) const
{
    auto found = m_columns.find(forColumn);
    return found == m_columns.end() ? nullptr : found->second;
}

void UISplitViewController::setViewController(const std::shared_ptr<UIViewController>& viewController, Column forColumn)
{
    if (auto previous = this->viewController(forColumn); previous && previous != viewController) {
        previous->willMove(nullptr);
        previous->removeFromParent();
    }
    if (!viewController) {
        m_columns.erase(forColumn);
        return;
    }
    m_columns[forColumn] = viewController;
    auto self = sharedSelf(this);
    if (viewController->parent() != self) {
        addChild(viewController);
        viewController->didMove(self);
    }
}

} // namespace UIKit
