#pragma once

#include "Basalwork/Interface/NSLayoutConstraint.hpp"
#include "Basalwork/Interface/UILayoutPriority.hpp"

#include "Platform/UIKit/UILayoutGuide.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <concepts>
#include <memory>
#include <vector>

namespace Basalwork {

// A view kept inside a layout guide from above and below, without being pinned to it.
template <class View>
    requires std::derived_from<View, UIKit::UIView>
class Constrained {
public:
    using Constraint = std::shared_ptr<UIKit::NSLayoutConstraint>;

    // view.top >= guide.top + padding and guide.bottom >= view.bottom + padding, each at
    // `UILayoutPriorities::lowest()` and activated as made. The view's autoresizing-mask translation is
    // left as it is.
    static Constrained constrain(std::shared_ptr<View> view, const UIKit::UILayoutGuide& to, UIKit::CGFloat padding)
    {
        auto top = activate(with(view->topAnchor().constraintGreaterThanOrEqualTo(to.topAnchor(), padding),
                                 UILayoutPriorities::lowest()));
        auto bottom = activate(with(to.bottomAnchor().constraintGreaterThanOrEqualTo(view->bottomAnchor(), padding),
                                    UILayoutPriorities::lowest()));
        return Constrained(std::move(view), std::move(top), std::move(bottom));
    }

    const std::shared_ptr<View>& view() const { return m_view; }
    const Constraint& topConstraint() const { return m_topConstraint; }
    const Constraint& bottomConstraint() const { return m_bottomConstraint; }
    std::vector<Constraint> topBottomConstraints() const { return {m_topConstraint, m_bottomConstraint}; }

    // set(constraintPriority:): top first.
    void set(UIKit::UILayoutPriority constraintPriority) const
    {
        m_topConstraint->setPriority(constraintPriority);
        m_bottomConstraint->setPriority(constraintPriority);
    }

private:
    Constrained(std::shared_ptr<View> view, Constraint top, Constraint bottom)
        : m_view(std::move(view))
        , m_topConstraint(std::move(top))
        , m_bottomConstraint(std::move(bottom))
    {
    }

    std::shared_ptr<View> m_view;
    Constraint m_topConstraint;
    Constraint m_bottomConstraint;
};

} // namespace Basalwork
