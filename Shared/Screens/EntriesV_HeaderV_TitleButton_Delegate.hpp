#pragma once

#include <memory>

namespace UIKit {
class UIButton;
class UIMenu;
}

namespace Shared {

// The menu behind the list's title (the filters and sort methods).
class EntriesV_HeaderV_TitleButton_Delegate {
public:
    virtual ~EntriesV_HeaderV_TitleButton_Delegate() = default;

    virtual std::shared_ptr<UIKit::UIMenu> contextMenu(UIKit::UIButton& titleButton) = 0;
};

} // namespace Shared
