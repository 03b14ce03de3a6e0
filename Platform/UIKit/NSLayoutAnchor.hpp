#pragma once

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"

#include <memory>

namespace UIKit {

// One attribute of a layout item, from which constraints are made. `AnchorType` is the concrete anchor
// (x axis, y axis or dimension), so that only anchors of the same kind can be related. Anchors are small
// values: they hold their item weakly and carry no state of their own.
template <class AnchorType>
class NSLayoutAnchor {
public:
    std::shared_ptr<Foundation::NSObject> item() const { return m_item.lock(); }
    NSLayoutConstraint::Attribute attribute() const { return m_attribute; }

    std::shared_ptr<NSLayoutConstraint> constraintEqualTo(const AnchorType& anchor, CGFloat constant = 0) const
    {
        return relate(NSLayoutConstraint::Relation::equal, anchor, 1, constant);
    }
    std::shared_ptr<NSLayoutConstraint> constraintGreaterThanOrEqualTo(const AnchorType& anchor,
                                                                       CGFloat constant = 0) const
    {
        return relate(NSLayoutConstraint::Relation::greaterThanOrEqual, anchor, 1, constant);
    }
    std::shared_ptr<NSLayoutConstraint> constraintLessThanOrEqualTo(const AnchorType& anchor,
                                                                    CGFloat constant = 0) const
    {
        return relate(NSLayoutConstraint::Relation::lessThanOrEqual, anchor, 1, constant);
    }

    friend bool operator==(const NSLayoutAnchor& lhs, const NSLayoutAnchor& rhs)
    {
        return lhs.m_attribute == rhs.m_attribute && !lhs.m_item.owner_before(rhs.m_item)
            && !rhs.m_item.owner_before(lhs.m_item);
    }

protected:
    NSLayoutAnchor(const Foundation::NSObject& item, NSLayoutConstraint::Attribute attribute)
        : m_item(const_cast<Foundation::NSObject&>(item).weak_from_this())
        , m_attribute(attribute)
    {
    }

    std::shared_ptr<NSLayoutConstraint> relate(NSLayoutConstraint::Relation relation, const NSLayoutAnchor& anchor,
                                               CGFloat multiplier, CGFloat constant) const
    {
        auto second = anchor.item();
        Foundation::precondition(second != nullptr, "A layout anchor's item no longer exists");
        return makeConstraint(relation, second, anchor.m_attribute, multiplier, constant);
    }
    // A constraint from this anchor to an item's attribute, or to nothing (a constant).
    std::shared_ptr<NSLayoutConstraint> makeConstraint(NSLayoutConstraint::Relation relation,
                                             const std::shared_ptr<Foundation::NSObject>& secondItem,
                                             NSLayoutConstraint::Attribute secondAttribute, CGFloat multiplier,
                                             CGFloat constant) const
    {
        auto first = item();
        Foundation::precondition(first != nullptr, "A layout anchor's item no longer exists");
        return Foundation::make<NSLayoutConstraint>(first, m_attribute, relation, secondItem, secondAttribute,
                                                    multiplier, constant);
    }

private:
    std::weak_ptr<Foundation::NSObject> m_item;
    NSLayoutConstraint::Attribute m_attribute;
};

} // namespace UIKit
