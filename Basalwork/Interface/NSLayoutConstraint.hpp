#pragma once

#include "Basalwork/Interface/CenterInConstraints.hpp"
#include "Basalwork/Interface/EdgeConstraints.hpp"
#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/SizeAndCenterConstraints.hpp"

#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UILayoutPriority.hpp"

#include <memory>

namespace UIKit {
class UIView;
}

namespace Basalwork {

// Constraint makers. Each turns off the constrained view's autoresizing-mask translation, gives every
// constraint `UILayoutPriorities::highest()` as it is when called, activates them in one call and
// returns them.
struct NSLayoutConstraints {
    // The view's edges `insets` inside the container's.
    static EdgeConstraints constrainEdges(UIKit::UIView& of, const UIKit::UIView& to, const LayoutInsets& insets);
    // The same against the container's layout margins.
    static EdgeConstraints constrainMargins(UIKit::UIView& of, const UIKit::UIView& to, const LayoutInsets& insets);
    // The other view's width, height and centre.
    static SizeAndCenterConstraints constrainSizeAndCenter(UIKit::UIView& of, const UIKit::UIView& to);

    // Each group in one activation.
    static void activate(const EdgeConstraints& constraints);
    static void activate(const SizeAndCenterConstraints& constraints);
    static void activate(const CenterInConstraints& constraints);
};

// Activates the constraint and hands it back, for chaining.
std::shared_ptr<UIKit::NSLayoutConstraint> activate(const std::shared_ptr<UIKit::NSLayoutConstraint>& constraint);
// Sets the priority and hands the constraint back, for chaining.
std::shared_ptr<UIKit::NSLayoutConstraint> with(const std::shared_ptr<UIKit::NSLayoutConstraint>& constraint,
                                                UIKit::UILayoutPriority priority);

// For a constraint that may be absent: an absent one is never active.
inline bool isActive(const std::shared_ptr<UIKit::NSLayoutConstraint>& constraint)
{
    return constraint && constraint->isActive();
}

inline bool isInactive(const std::shared_ptr<UIKit::NSLayoutConstraint>& constraint)
{
    return !isActive(constraint);
}

} // namespace Basalwork
