#include "Platform/UIKit/NSLayoutConstraint.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/LayoutEngine.hpp"
#include "Platform/UIKit/UILayoutGuide.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <cmath>
#include <sstream>

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

void NSLayoutConstraint::setConstant(CGFloat constant)
{
    Foundation::precondition(std::isfinite(constant), "A constraint's constant must be finite");
    if (constant == m_constant)
        return;
    m_constant = constant;
    changed();
}

void NSLayoutConstraint::changed()
{
    auto view = installedOn();
    if (!view)
        return;
    if (auto* engine = view->layoutEngine())
        engine->constraintDidChange(*this);
    view->setNeedsLayout();
}

void NSLayoutConstraint::setPriority(UILayoutPriority priority)
{
    Foundation::precondition(priority.rawValue > 0 && priority <= UILayoutPriority::required(),
                             "A constraint's priority must be greater than 0 and at most 1000");
    bool wasRequired = m_priority == UILayoutPriority::required();
    bool isRequired = priority == UILayoutPriority::required();
    Foundation::precondition(wasRequired == isRequired || !isActive(),
                             "An active constraint cannot change between required and optional priority");
    if (priority == m_priority)
        return;
    m_priority = priority;
    changed();
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

namespace {

const char* attributeName(NSLayoutConstraint::Attribute attribute)
{
    using Attribute = NSLayoutConstraint::Attribute;
    switch (attribute) {
    case Attribute::left:
        return "left";
    case Attribute::right:
        return "right";
    case Attribute::top:
        return "top";
    case Attribute::bottom:
        return "bottom";
    case Attribute::leading:
        return "leading";
    case Attribute::trailing:
        return "trailing";
    case Attribute::width:
        return "width";
    case Attribute::height:
        return "height";
    case Attribute::centerX:
        return "centerX";
    case Attribute::centerY:
        return "centerY";
    case Attribute::notAnAttribute:
        break;
    }
    return "notAnAttribute";
}

std::string itemName(const std::shared_ptr<Foundation::NSObject>& item)
{
    if (!item)
        return "(gone)";
    std::ostringstream text;
    text << item->className() << ":" << static_cast<const void*>(item.get());
    if (auto guide = std::dynamic_pointer_cast<UILayoutGuide>(item); guide && !guide->identifier().isEmpty())
        text << "'" << guide->identifier().utf8() << "'";
    return text.str();
}

} // namespace

std::string NSLayoutConstraint::description() const
{
    std::ostringstream text;
    text << "<NSLayoutConstraint:" << static_cast<const void*>(this) << " ";
    if (m_identifier)
        text << "'" << m_identifier->utf8() << "' ";
    text << itemName(firstItem()) << "." << attributeName(m_firstAttribute);
    text << (m_relation == Relation::lessThanOrEqual ? " <= " : m_relation == Relation::greaterThanOrEqual ? " >= " : " == ");
    if (m_secondAttribute == Attribute::notAnAttribute) {
        text << m_constant;
    } else {
        if (m_multiplier != 1)
            text << m_multiplier << "*";
        text << itemName(secondItem()) << "." << attributeName(m_secondAttribute);
        if (m_constant > 0)
            text << " + " << m_constant;
        else if (m_constant < 0)
            text << " - " << -m_constant;
    }
    if (m_priority != UILayoutPriority::required())
        text << " @" << m_priority.rawValue;
    text << (isActive() ? "   (active)>" : "   (inactive)>");
    return text.str();
}

} // namespace UIKit
