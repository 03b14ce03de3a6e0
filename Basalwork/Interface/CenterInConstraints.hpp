#pragma once

#include "Platform/UIKit/NSLayoutConstraint.hpp"

#include <memory>

namespace Basalwork {

// The constraints that centre a view, limit its width and keep it between edges. Holding them keeps
// them alive, not active.
class CenterInConstraints {
public:
    using Constraint = std::shared_ptr<UIKit::NSLayoutConstraint>;

    CenterInConstraints(Constraint centerX, Constraint centerY, Constraint maxWidth, Constraint leading,
                        Constraint trailing, Constraint top, Constraint bottom)
        : m_centerX(std::move(centerX))
        , m_centerY(std::move(centerY))
        , m_maxWidth(std::move(maxWidth))
        , m_leading(std::move(leading))
        , m_trailing(std::move(trailing))
        , m_top(std::move(top))
        , m_bottom(std::move(bottom))
    {
    }

    const Constraint& centerX() const { return m_centerX; }
    const Constraint& centerY() const { return m_centerY; }
    const Constraint& maxWidth() const { return m_maxWidth; }
    const Constraint& leading() const { return m_leading; }
    const Constraint& trailing() const { return m_trailing; }
    const Constraint& top() const { return m_top; }
    const Constraint& bottom() const { return m_bottom; }

private:
    Constraint m_centerX;
    Constraint m_centerY;
    Constraint m_maxWidth;
    Constraint m_leading;
    Constraint m_trailing;
    Constraint m_top;
    Constraint m_bottom;
};

} // namespace Basalwork
