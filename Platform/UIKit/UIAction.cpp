#include "Platform/UIKit/UIAction.hpp"

namespace UIKit {

void UIAction::performWithSender(const std::shared_ptr<Foundation::NSObject>& sender)
{
    m_sender = sender;
    if (m_handler)
        m_handler(sharedSelf(this));
}

} // namespace UIKit
