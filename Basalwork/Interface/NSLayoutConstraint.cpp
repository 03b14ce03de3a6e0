#include "Basalwork/Interface/NSLayoutConstraint.hpp"

#include "Basalwork/Interface/UILayoutPriority.hpp"

#include "Platform/UIKit/UILayoutGuide.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace Basalwork {
namespace {

using UIKit::NSLayoutConstraint;

// `Container` is a view or a layout guide: both offer the same anchors.
template <class Container>
EdgeConstraints edgeConstraints(UIKit::UIView& view, const Container& container, const LayoutInsets& insets)
{
    view.setTranslatesAutoresizingMaskIntoConstraints(false);
    auto priority = UILayoutPriorities::highest();
    EdgeConstraints constraints {
        with(view.leadingAnchor().constraintEqualTo(container.leadingAnchor(), insets.leading()), priority),
        with(container.trailingAnchor().constraintEqualTo(view.trailingAnchor(), insets.trailing()), priority),
        with(view.topAnchor().constraintEqualTo(container.topAnchor(), insets.top()), priority),
        with(container.bottomAnchor().constraintEqualTo(view.bottomAnchor(), insets.bottom()), priority),
    };
    NSLayoutConstraints::activate(constraints);
    return constraints;
}

} // namespace

EdgeConstraints NSLayoutConstraints::constrainEdges(UIKit::UIView& of, const UIKit::UIView& to, const LayoutInsets& insets)
{
    return edgeConstraints(of, to, insets);
}

EdgeConstraints NSLayoutConstraints::constrainMargins(UIKit::UIView& of, const UIKit::UIView& to, const LayoutInsets& insets)
{
    return edgeConstraints(of, *to.layoutMarginsGuide(), insets);
}

SizeAndCenterConstraints NSLayoutConstraints::constrainSizeAndCenter(UIKit::UIView& of, const UIKit::UIView& to)
{
    of.setTranslatesAutoresizingMaskIntoConstraints(false);
    auto priority = UILayoutPriorities::highest();
    SizeAndCenterConstraints constraints {
        with(of.widthAnchor().constraintEqualTo(to.widthAnchor()), priority),
        with(to.heightAnchor().constraintEqualTo(of.heightAnchor()), priority),
        with(of.centerXAnchor().constraintEqualTo(to.centerXAnchor()), priority),
        with(to.centerYAnchor().constraintEqualTo(of.centerYAnchor()), priority),
    };
    activate(constraints);
    return constraints;
}

void NSLayoutConstraints::activate(const EdgeConstraints& constraints)
{
    NSLayoutConstraint::activate({constraints.leading(), constraints.trailing(), constraints.top(), constraints.bottom()});
}

void NSLayoutConstraints::activate(const SizeAndCenterConstraints& constraints)
{
    NSLayoutConstraint::activate({constraints.width(), constraints.height(), constraints.centerX(), constraints.centerY()});
}

void NSLayoutConstraints::activate(const CenterInConstraints& constraints)
{
    NSLayoutConstraint::activate({constraints.centerX(), constraints.centerY(), constraints.maxWidth(),
                                  constraints.leading(), constraints.trailing(), constraints.top(),
                                  constraints.bottom()});
}

std::shared_ptr<NSLayoutConstraint> activate(const std::shared_ptr<NSLayoutConstraint>& constraint)
{
    constraint->setIsActive(true);
    return constraint;
}

std::shared_ptr<NSLayoutConstraint> with(const std::shared_ptr<NSLayoutConstraint>& constraint,
                                         UIKit::UILayoutPriority priority)
{
    constraint->setPriority(priority);
    return constraint;
}

} // namespace Basalwork
