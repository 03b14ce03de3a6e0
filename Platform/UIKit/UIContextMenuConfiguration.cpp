#include "Platform/UIKit/UIContextMenuConfiguration.hpp"

#include "Platform/UIKit/UIMenu.hpp"

namespace UIKit {

std::shared_ptr<UIMenu> UIContextMenuConfiguration::makeMenu() const
{
    return m_actionProvider ? m_actionProvider({}) : nullptr;
}

} // namespace UIKit
