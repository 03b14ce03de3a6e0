#include "Platform/UIKit/UIContextMenuInteraction.hpp"

#include "Platform/UIKit/UIContextMenuConfiguration.hpp"
#include "Platform/UIKit/UIMenu.hpp"

namespace UIKit {

std::shared_ptr<UIMenu> UIContextMenuInteraction::menu(CGPoint atLocation)
{
    auto delegate = this->delegate();
    auto configuration = delegate ? delegate->contextMenuInteraction(*this, atLocation) : nullptr;
    return configuration ? configuration->makeMenu() : nullptr;
}

} // namespace UIKit
