#pragma once

#include "Platform/CoreData/NSPredicate.hpp"
#include "Platform/CoreData/SQLFragment.hpp"

#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace CoreData {

class NSEntityDescription;
class NSManagedObject;

// Whether a comparison (any but `in`) holds between two values, as the store evaluates it.
bool comparisonHolds(const Value& lhs, const Value& rhs, NSComparisonPredicate::Operator type,
                     NSComparisonPredicate::Options options);
// The order sort descriptors give two values of one attribute: nil first, then by value.
int sortOrder(const Value& lhs, const Value& rhs, bool caseInsensitive);

// A predicate resolved against one entity: its keys become stored properties and its constants are
// checked against them. It runs in memory over objects, or becomes SQL over the entity's table; both
// answer alike. Building one throws when the predicate names a key the entity lacks, goes through a
// relationship, or compares values that cannot be compared.
class BoundPredicate {
public:
    BoundPredicate(const NSPredicate& predicate, const NSEntityDescription& entity);

    // A block predicate can only run in memory.
    bool usesBlock() const { return m_usesBlock; }
    bool evaluate(const NSManagedObject& object) const;
    SQLFragment sql() const;

private:
    enum class TypeClass { any, number, text, date, data, uuid, object };
    struct ListLookup {
        std::unordered_set<std::string> asciiTexts;
        std::vector<Value> others;
    };
    struct Operand {
        NSExpression::ExpressionType kind;
        std::size_t index = 0;
        TypeClass typeClass = TypeClass::any;
        std::optional<NSAttributeType> attributeType;
        const NSEntityDescription* objectEntity = nullptr;
        Value constant;
        std::vector<Value> list;
        // For a long list on the right of IN without options.
        std::shared_ptr<const ListLookup> lookup;
    };
    struct Node {
        NSPredicate::Kind kind = NSPredicate::Kind::constant;
        bool constant = false;
        NSCompoundPredicate::LogicalType logicalType = NSCompoundPredicate::LogicalType::and_;
        std::vector<Node> children;
        Operand left;
        Operand right;
        NSComparisonPredicate::Operator type = NSComparisonPredicate::Operator::equalTo;
        NSComparisonPredicate::Options options;
        NSPredicate::Block block;
    };

    Node bind(const NSPredicate& predicate);
    Operand bindOperand(const NSExpression& expression, const NSPredicate& predicate) const;
    void check(const Node& node, const NSPredicate& predicate) const;
    bool evaluate(const Node& node, const NSManagedObject& object) const;
    Value operandValue(const Operand& operand, const NSManagedObject& object) const;
    std::string sql(const Node& node, SQLFragment& fragment) const;
    std::string comparisonSQL(const Node& node, SQLFragment& fragment) const;
    std::string inSQL(const Node& node, SQLFragment& fragment) const;
    std::string operandSQL(const Operand& operand, SQLFragment& fragment) const;

    const NSEntityDescription& m_entity;
    Node m_root;
    bool m_usesBlock = false;
};

} // namespace CoreData
