#pragma once

#include <memory>

namespace UIKit {
class UIButton;
class UIMenu;
}

namespace Shared {

// The menu of the list's new-item button (the categories to make an item of).
class EntriesV_HeaderV_NewItemButton_Delegate {
public:
    virtual ~EntriesV_HeaderV_NewItemButton_Delegate() = default;

    virtual std::shared_ptr<UIKit::UIMenu> newItemMenu(UIKit::UIButton& newItemButton) = 0;
};

} // namespace Shared
