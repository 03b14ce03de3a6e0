#pragma once

#include "Platform/UIKit/UIBarButtonItem.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <vector>

namespace UIKit {

// A bar of buttons, as above a keyboard. It fits to its width and the standard bar height.
class UIToolbar : public UIView {
public:
    static constexpr CGFloat standardHeight = 44;

    const std::vector<std::shared_ptr<UIBarButtonItem>>& items() const { return m_items; }
    void setItems(std::vector<std::shared_ptr<UIBarButtonItem>> items) { m_items = std::move(items); }

    CGSize sizeThatFits(CGSize size) const override { return {size.width, standardHeight}; }

protected:
    friend Foundation::Construct;
    UIToolbar() = default;
    explicit UIToolbar(const CGRect& frame)
        : UIView(frame)
    {
    }

private:
    std::vector<std::shared_ptr<UIBarButtonItem>> m_items;
};

} // namespace UIKit
