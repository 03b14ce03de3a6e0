#pragma once

#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/Enumeration.hpp"

#include <memory>
#include <string>
#include <variant>

namespace Basalwork {

// The space a frame is converted into: another view's bounds, or the window's coordinates (what the
// platform gives for no target view).
class UIView::FrameConversion::CoordinateSystem : public Foundation::Enumeration<UIView::FrameConversion::CoordinateSystem> {
public:
    struct OtherView {
        std::shared_ptr<UIKit::UIView> view;
    };
    struct WindowBase { };
    using Case = std::variant<OtherView, WindowBase>;

    static CoordinateSystem otherView(std::shared_ptr<UIKit::UIView> view)
    {
        return CoordinateSystem(OtherView {std::move(view)});
    }
    static CoordinateSystem windowBase() { return CoordinateSystem(WindowBase {}); }

    const Case& value() const { return m_case; }

    std::string description() const;

private:
    explicit CoordinateSystem(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
