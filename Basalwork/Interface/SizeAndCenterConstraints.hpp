#pragma once

#include "Platform/UIKit/NSLayoutConstraint.hpp"

#include <memory>

namespace Basalwork {

// The constraints that give a view another view's size and centre. Holding them keeps them alive, not
// active.
class SizeAndCenterConstraints {
public:
    using Constraint = std::shared_ptr<UIKit::NSLayoutConstraint>;

    SizeAndCenterConstraints(Constraint width, Constraint height, Constraint centerX, Constraint centerY)
        : m_width(std::move(width))
        , m_height(std::move(height))
        , m_centerX(std::move(centerX))
        , m_centerY(std::move(centerY))
    {
    }

    const Constraint& width() const { return m_width; }
    const Constraint& height() const { return m_height; }
    const Constraint& centerX() const { return m_centerX; }
    const Constraint& centerY() const { return m_centerY; }

private:
    Constraint m_width;
    Constraint m_height;
    Constraint m_centerX;
    Constraint m_centerY;
};

} // namespace Basalwork
