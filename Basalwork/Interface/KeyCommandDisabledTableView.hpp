#pragma once

#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UITableView.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace Basalwork {

// A table that offers no key commands of its own, so that the screen's commands reach the keyboard.
class KeyCommandDisabledTableView : public UIKit::UITableView {
public:
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override { return std::nullopt; }

protected:
    friend Foundation::Construct;
    // init(frame:style:)
    KeyCommandDisabledTableView(const UIKit::CGRect& frame, Style style)
        : UITableView(frame, style)
    {
    }
    explicit KeyCommandDisabledTableView(Foundation::NSCoder& coder)
        : UITableView(coder)
    {
    }
};

} // namespace Basalwork
