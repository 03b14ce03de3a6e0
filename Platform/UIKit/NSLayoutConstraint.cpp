#include "Platform/UIKit/NSLayoutConstraint.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UILayoutGuide.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <cmath>

namespace UIKit {
namespace {

bool isDimension(NSLayoutConstraint::Attribute attribute)
{
    return attribute == NSLayoutConstraint::Attribute::width || attribute == NSLayoutConstraint::Attribute::height;
}

bool isSelfOrAncestor(const UIView& ancestor, std::shared_ptr<UIView> view)
{
    for (; view; view = view->superview()) {
        if (view.get() == &ancestor)
            return true;
    }
    return false;
}

} // namespace

NSLayoutConstraint::NSLayoutConstraint(const std::shared_ptr<Foundation::NSObject>& item, Attribute attribute,
                                       Relation relatedBy, const std::shared_ptr<Foundation::NSObject>& toItem,
                                       Attribute toAttribute, CGFloat multiplier, CGFloat constant)
    : m_firstItem(item)
    , m_firstAttribute(attribute)
    , m_relation(relatedBy)
    , m_secondItem(toItem)
    , m_secondAttribute(toItem ? toAttribute : Attribute::notAnAttribute)
    , m_multiplier(multiplier)
    , m_constant(constant)
{
    Foundation::precondition(item != nullptr && attribute != Attribute::notAnAttribute,
                             "A constraint needs a first item and attribute");
    Foundation::precondition(toItem != nullptr || isDimension(attribute),
                             "A constraint on a location needs a second item to relate it to");
    Foundation::precondition(std::isfinite(multiplier) && std::isfinite(constant),
                             "A constraint's multiplier and constant must be finite");
}

void NSLayoutConstraint::activate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints)
{
    for (const auto& constraint : constraints)
        constraint->setIsActive(true);
}

void NSLayoutConstraint::deactivate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints)
{
    for (const auto& constraint : constraints)
        constraint->setIsActive(false);
}

void NSLayoutConstraint::setPriority(UILayoutPriority priority)
{
    Foundation::precondition(priority.rawValue > 0 && priority <= UILayoutPriority::required(),
                             "A constraint's priority must be greater than 0 and at most 1000");
    bool wasRequired = m_priority == UILayoutPriority::required();
    bool isRequired = priority == UILayoutPriority::required();
    Foundation::precondition(wasRequired == isRequired || !isActive(),
                             "An active constraint cannot change between required and optional priority");
    m_priority = priority;
}

bool NSLayoutConstraint::isActive() const
{
    return !m_installedOn.expired();
}

void NSLayoutConstraint::setIsActive(bool isActive)
{
    if (isActive == this->isActive())
        return;
    auto self = sharedSelf(this);
    if (!isActive) {
        installedOn()->removeConstraint(self);
        return;
    }
    auto first = viewOf(firstItem());
    Foundation::precondition(first != nullptr, "Cannot activate a constraint whose first item is in no view");
    auto second = viewOf(secondItem());
    Foundation::precondition(second != nullptr || m_secondAttribute == Attribute::notAnAttribute,
                             "Cannot activate a constraint whose second item is in no view");
    auto ancestor = first;
    if (second) {
        while (ancestor && !isSelfOrAncestor(*ancestor, second))
            ancestor = ancestor->superview();
    }
    Foundation::precondition(ancestor != nullptr,
                             "Cannot activate a constraint whose items have no common ancestor");
    ancestor->addConstraint(self);
}

std::shared_ptr<UIView> NSLayoutConstraint::viewOf(const std::shared_ptr<Foundation::NSObject>& item)
{
    if (auto view = std::dynamic_pointer_cast<UIView>(item))
        return view;
    if (auto guide = std::dynamic_pointer_cast<UILayoutGuide>(item))
        return guide->owningView();
    return nullptr;
}

bool NSLayoutConstraint::refersInto(const UIView& subtree) const
{
    return isSelfOrAncestor(subtree, viewOf(firstItem())) || isSelfOrAncestor(subtree, viewOf(secondItem()));
}

bool NSLayoutConstraint::liesWithin(const UIView& view) const
{
    auto second = secondItem();
    return isSelfOrAncestor(view, viewOf(firstItem())) && (!second || isSelfOrAncestor(view, viewOf(second)));
}

} // namespace UIKit
