#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/UIBarButtonItem.hpp"
#include "Platform/UIKit/UIBarButtonItemStateAppearance.hpp"

namespace UIKit {

// How the bar button items of one style look in each state; recorded.
class UIBarButtonItemAppearance : public Foundation::NSObject {
public:
    UIBarButtonItemStateAppearance& normal() { return m_normal; }
    const UIBarButtonItemStateAppearance& normal() const { return m_normal; }
    UIBarButtonItemStateAppearance& highlighted() { return m_highlighted; }
    const UIBarButtonItemStateAppearance& highlighted() const { return m_highlighted; }
    UIBarButtonItemStateAppearance& disabled() { return m_disabled; }
    const UIBarButtonItemStateAppearance& disabled() const { return m_disabled; }
    UIBarButtonItemStateAppearance& focused() { return m_focused; }
    const UIBarButtonItemStateAppearance& focused() const { return m_focused; }

protected:
    friend Foundation::Construct;
    UIBarButtonItemAppearance() = default;
    // init(style:)
    explicit UIBarButtonItemAppearance(UIBarButtonItem::Style /*style*/) {}

private:
    UIBarButtonItemStateAppearance m_normal;
    UIBarButtonItemStateAppearance m_highlighted;
    UIBarButtonItemStateAppearance m_disabled;
    UIBarButtonItemStateAppearance m_focused;
};

} // namespace UIKit
