#pragma once

#include "Platform/UIKit/NSLayoutConstraint.hpp"

#include <memory>

namespace Basalwork {

// A view's height as a ratio of its width, and the width when one was fixed (null otherwise).
class AspectRatioConstraints {
public:
    using Constraint = std::shared_ptr<UIKit::NSLayoutConstraint>;

    AspectRatioConstraints(Constraint width, Constraint height)
        : m_width(std::move(width))
        , m_height(std::move(height))
    {
    }

    const Constraint& width() const { return m_width; }
    const Constraint& height() const { return m_height; }

private:
    Constraint m_width;
    Constraint m_height;
};

} // namespace Basalwork
