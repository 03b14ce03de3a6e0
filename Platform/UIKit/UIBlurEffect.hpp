#pragma once

#include "Platform/UIKit/UIVisualEffect.hpp"

#include <cstdint>

namespace UIKit {

class UIBlurEffect : public UIVisualEffect {
public:
    enum class Style : std::int64_t;

    Style style() const { return m_style; }

protected:
    friend Foundation::Construct;
    // init(style:)
    explicit UIBlurEffect(Style style)
        : m_style(style)
    {
    }

private:
    Style m_style;
};

} // namespace UIKit

#include "Platform/UIKit/UIBlurEffect.Style.hpp"
