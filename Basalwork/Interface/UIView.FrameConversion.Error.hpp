#pragma once

#include "Basalwork/Interface/UIView.FrameConversion.CoordinateSystem.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"

#include <memory>
#include <variant>

namespace Basalwork {

class UIView::FrameConversion::Error : public Foundation::ErrorOf<UIView::FrameConversion::Error>,
                                       public Foundation::Enumeration<UIView::FrameConversion::Error> {
public:
    struct FailedToConvertViewFrameToCoordinateSystem {
        std::shared_ptr<UIKit::UIView> view;
        CoordinateSystem coordinateSystem;
    };
    using Case = std::variant<FailedToConvertViewFrameToCoordinateSystem>;

    static Error failedToConvertViewFrameToCoordinateSystem(std::shared_ptr<UIKit::UIView> view,
                                                            CoordinateSystem coordinateSystem)
    {
        return Error(FailedToConvertViewFrameToCoordinateSystem {std::move(view), std::move(coordinateSystem)});
    }

    const Case& value() const { return m_case; }

    std::string domain() const override { return "Basalwork.UIView.FrameConversion.Error"; }
    std::int64_t code() const override { return index(); }
    std::string description() const override;

private:
    explicit Error(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
