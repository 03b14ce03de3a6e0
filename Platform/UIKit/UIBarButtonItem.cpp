#include "Platform/UIKit/UIBarButtonItem.hpp"

#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIApplication.hpp"

namespace UIKit {

void UIBarButtonItem::sendAction()
{
    if (!m_isEnabled)
        return;
    if (m_primaryAction) {
        m_primaryAction->performWithSender(sharedSelf(this));
        return;
    }
    if (m_selector) {
        UIApplication::shared()->sendAction(m_selector, target(), sharedSelf(this), nullptr);
        return;
    }
    if (auto target = this->target(); target && m_action)
        m_action(*target);
}

} // namespace UIKit
