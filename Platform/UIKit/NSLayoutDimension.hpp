#pragma once

#include "Platform/UIKit/NSLayoutAnchor.hpp"

namespace UIKit {

// Width and height: they can also be related to a constant, or to another dimension scaled by a
// multiplier.
class NSLayoutDimension : public NSLayoutAnchor<NSLayoutDimension> {
public:
    NSLayoutDimension(const Foundation::NSObject& item, NSLayoutConstraint::Attribute attribute)
        : NSLayoutAnchor(item, attribute)
    {
    }

    std::shared_ptr<NSLayoutConstraint> constraintEqualToConstant(CGFloat constant) const
    {
        return toConstant(NSLayoutConstraint::Relation::equal, constant);
    }
    std::shared_ptr<NSLayoutConstraint> constraintGreaterThanOrEqualToConstant(CGFloat constant) const
    {
        return toConstant(NSLayoutConstraint::Relation::greaterThanOrEqual, constant);
    }
    std::shared_ptr<NSLayoutConstraint> constraintLessThanOrEqualToConstant(CGFloat constant) const
    {
        return toConstant(NSLayoutConstraint::Relation::lessThanOrEqual, constant);
    }

    // constraint(equalTo:multiplier:constant:) and its relatives.
    std::shared_ptr<NSLayoutConstraint> constraintEqualToMultiplier(const NSLayoutDimension& anchor, CGFloat multiplier,
                                                                    CGFloat constant = 0) const
    {
        return relate(NSLayoutConstraint::Relation::equal, anchor, multiplier, constant);
    }
    std::shared_ptr<NSLayoutConstraint> constraintGreaterThanOrEqualToMultiplier(const NSLayoutDimension& anchor,
                                                                                 CGFloat multiplier,
                                                                                 CGFloat constant = 0) const
    {
        return relate(NSLayoutConstraint::Relation::greaterThanOrEqual, anchor, multiplier, constant);
    }
    std::shared_ptr<NSLayoutConstraint> constraintLessThanOrEqualToMultiplier(const NSLayoutDimension& anchor,
                                                                              CGFloat multiplier,
                                                                              CGFloat constant = 0) const
    {
        return relate(NSLayoutConstraint::Relation::lessThanOrEqual, anchor, multiplier, constant);
    }

private:
    std::shared_ptr<NSLayoutConstraint> toConstant(NSLayoutConstraint::Relation relation, CGFloat constant) const
    {
        return makeConstraint(relation, nullptr, NSLayoutConstraint::Attribute::notAnAttribute, 1, constant);
    }
};

} // namespace UIKit
