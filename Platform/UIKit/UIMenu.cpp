#include "Platform/UIKit/UIMenu.hpp"

#include "Platform/Foundation/UUID.hpp"

namespace UIKit {

UIMenu::UIMenu(Foundation::String title, std::vector<std::shared_ptr<UIMenuElement>> children)
    : UIMenu(std::move(title), {"com.apple.menu.dynamic." + Foundation::UUID().uuidString()}, {}, std::move(children))
{
}

UIMenu::UIMenu(Foundation::String title, const Identifier& identifier, Options options,
               std::vector<std::shared_ptr<UIMenuElement>> children)
    : UIMenuElement(std::move(title))
    , m_identifier(std::make_unique<Identifier>(identifier))
    , m_options(options.rawValue)
    , m_children(std::move(children))
{
}

UIMenu::~UIMenu() = default;

std::shared_ptr<UIMenu> UIMenu::replacingChildren(std::vector<std::shared_ptr<UIMenuElement>> children) const
{
    auto menu = Foundation::make<UIMenu>(title(), *m_identifier, options(), std::move(children));
    menu->setSubtitle(subtitle());
    return menu;
}

} // namespace UIKit
