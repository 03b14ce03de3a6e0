#pragma once

#include "Platform/UIKit/NSLayoutConstraint.hpp"

#include <memory>

namespace Basalwork {

// The four constraints that pin a view's edges. Holding them keeps them alive, not active.
class EdgeConstraints {
public:
    using Constraint = std::shared_ptr<UIKit::NSLayoutConstraint>;

    EdgeConstraints(Constraint leading, Constraint trailing, Constraint top, Constraint bottom)
        : m_leading(std::move(leading))
        , m_trailing(std::move(trailing))
        , m_top(std::move(top))
        , m_bottom(std::move(bottom))
    {
    }

    const Constraint& leading() const { return m_leading; }
    const Constraint& trailing() const { return m_trailing; }
    const Constraint& top() const { return m_top; }
    const Constraint& bottom() const { return m_bottom; }

private:
    Constraint m_leading;
    Constraint m_trailing;
    Constraint m_top;
    Constraint m_bottom;
};

} // namespace Basalwork
