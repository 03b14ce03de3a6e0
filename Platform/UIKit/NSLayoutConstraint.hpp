#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UILayoutPriority.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace UIKit {

class UIView;

// One relation between two layout items (views or layout guides): firstItem.firstAttribute relates to
// secondItem.secondAttribute x multiplier + constant, solved with the rest of its tree. An active
// constraint is installed on the closest common ancestor of its items' views, which owns it; the
// constraint holds its items weakly, so the tree it is installed in never keeps itself alive.
class NSLayoutConstraint : public Foundation::NSObject {
public:
    enum class Attribute : std::int64_t;
    enum class Relation : std::int64_t;
    enum class Axis : std::int64_t;

    // Each constraint in turn; one whose items share no ancestor stops the program.
    static void activate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);
    static void deactivate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);

    std::shared_ptr<Foundation::NSObject> firstItem() const { return m_firstItem.lock(); }
    Attribute firstAttribute() const { return m_firstAttribute; }
    Relation relation() const { return m_relation; }
    // None for a constraint on a constant (a width or height on its own).
    std::shared_ptr<Foundation::NSObject> secondItem() const { return m_secondItem.lock(); }
    Attribute secondAttribute() const { return m_secondAttribute; }
    CGFloat multiplier() const { return m_multiplier; }
    CGFloat constant() const { return m_constant; }
    void setConstant(CGFloat constant);

    UILayoutPriority priority() const { return m_priority; }
    // A priority outside (0, 1000], or a change between required and optional while the constraint is
    // active, stops the program as the platform does: the layout engine cannot take either.
    void setPriority(UILayoutPriority priority);

    // Active while installed on a view that still exists.
    bool isActive() const;
    void setIsActive(bool isActive);

    const std::optional<Foundation::String>& identifier() const { return m_identifier; }
    void setIdentifier(std::optional<Foundation::String> identifier) { m_identifier = std::move(identifier); }

    // The view that owns the constraint while it is active.
    std::shared_ptr<UIView> installedOn() const { return m_installedOn.lock(); }

    // As the layout log shows it: "<NSLayoutConstraint:0x… UILabel:0x….width == 100   (active)>".
    std::string description() const override;

protected:
    friend Foundation::Construct;
    // init(item:attribute:relatedBy:toItem:attribute:multiplier:constant:). A constraint without a first
    // item, with a location attribute but no second item, or with a multiplier that is not finite stops
    // the program.
    NSLayoutConstraint(const std::shared_ptr<Foundation::NSObject>& item, Attribute attribute, Relation relatedBy,
                       const std::shared_ptr<Foundation::NSObject>& toItem, Attribute toAttribute, CGFloat multiplier,
                       CGFloat constant);

private:
    friend class UIView;
    // The view that an item stands for in the tree: the view itself, or the owner of a layout guide.
    static std::shared_ptr<UIView> viewOf(const std::shared_ptr<Foundation::NSObject>& item);
    // Tells the engine of the tree the constraint is in.
    void changed();
    // True when either item's view is `subtree` or inside it.
    bool refersInto(const UIView& subtree) const;
    // True when every item's view is `view` or inside it.
    bool liesWithin(const UIView& view) const;

    std::weak_ptr<Foundation::NSObject> m_firstItem;
    Attribute m_firstAttribute;
    Relation m_relation;
    std::weak_ptr<Foundation::NSObject> m_secondItem;
    Attribute m_secondAttribute;
    CGFloat m_multiplier;
    CGFloat m_constant;
    UILayoutPriority m_priority = UILayoutPriority::required();
    std::optional<Foundation::String> m_identifier;
    std::weak_ptr<UIView> m_installedOn;
};

} // namespace UIKit

#include "Platform/UIKit/NSLayoutConstraint.Attribute.hpp"
#include "Platform/UIKit/NSLayoutConstraint.Axis.hpp"
#include "Platform/UIKit/NSLayoutConstraint.Relation.hpp"
