#pragma once

#include "Platform/CoreData/NSComparisonPredicate.hpp"
#include "Platform/CoreData/NSCompoundPredicate.hpp"
#include "Platform/CoreData/NSExpression.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace CoreData {

class NSManagedObject;

// A condition on objects, held as a small immutable tree: a constant, a comparison, a compound of
// predicates, or a block. Fetches turn every predicate but a block into SQL, so the store does the work;
// a block runs in memory, over every object of the entity.
class NSPredicate {
public:
    enum class Kind { constant, comparison, compound, block };
    using Block = std::function<bool(const NSManagedObject&)>;

    // init(value:): holds for every object, or for none.
    explicit NSPredicate(bool value);
    // init(block:)
    static NSPredicate withBlock(Block block);

    Kind kind() const;
    bool constantValue() const;
    const NSExpression& leftExpression() const;
    const NSExpression& rightExpression() const;
    NSComparisonPredicate::Operator predicateOperatorType() const;
    NSComparisonPredicate::Options options() const;
    NSCompoundPredicate::LogicalType compoundPredicateType() const;
    const std::vector<NSPredicate>& subpredicates() const;
    const Block& block() const;

    // evaluate(with:): throws when the predicate names a key the object's entity does not have, or
    // compares a key with a value of another type.
    bool evaluate(const NSManagedObject& object) const;
    // title ==[c] "Bank" AND (count > 2 OR NOT isFavorite == YES)
    std::string predicateFormat() const;

private:
    friend struct NSComparisonPredicate;
    friend struct NSCompoundPredicate;
    struct Node;
    explicit NSPredicate(std::shared_ptr<const Node> node)
        : m_node(std::move(node))
    {
    }
    std::shared_ptr<const Node> m_node;
};

NSPredicate operator&&(const NSPredicate& lhs, const NSPredicate& rhs);
NSPredicate operator||(const NSPredicate& lhs, const NSPredicate& rhs);
NSPredicate operator!(const NSPredicate& predicate);

NSPredicate operator==(const NSExpression& lhs, const Value& rhs);
NSPredicate operator!=(const NSExpression& lhs, const Value& rhs);
NSPredicate operator<(const NSExpression& lhs, const Value& rhs);
NSPredicate operator<=(const NSExpression& lhs, const Value& rhs);
NSPredicate operator>(const NSExpression& lhs, const Value& rhs);
NSPredicate operator>=(const NSExpression& lhs, const Value& rhs);
NSPredicate operator==(const NSExpression& lhs, const NSExpression& rhs);
NSPredicate operator!=(const NSExpression& lhs, const NSExpression& rhs);
NSPredicate operator<(const NSExpression& lhs, const NSExpression& rhs);
NSPredicate operator<=(const NSExpression& lhs, const NSExpression& rhs);
NSPredicate operator>(const NSExpression& lhs, const NSExpression& rhs);
NSPredicate operator>=(const NSExpression& lhs, const NSExpression& rhs);

} // namespace CoreData
