#pragma once

#include "Platform/CoreData/NSComparisonPredicate.hpp"
#include "Platform/CoreData/Value.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <string>
#include <vector>

namespace CoreData {

class NSPredicate;

// One side of a comparison: a constant, a key (an attribute or a to-one relationship of the object being
// evaluated), the object itself (compared by ID), or a list of constants for `in`.
class NSExpression {
public:
    enum class ExpressionType { constantValue, evaluatedObject, keyPath, aggregate };

    static NSExpression forConstantValue(Value value);
    static NSExpression forKeyPath(Foundation::String keyPath);
    static NSExpression expressionForEvaluatedObject();
    static NSExpression forAggregate(std::vector<Value> collection);

    ExpressionType expressionType() const { return m_type; }
    const Value& constantValue() const { return m_constant; }
    const Foundation::String& keyPath() const { return m_keyPath; }
    const std::vector<Value>& collection() const;
    // As a predicate prints it: title, "text", SELF, {1, 2}.
    std::string description() const;

    // Comparisons that need options or have no operator of their own.
    NSPredicate equalTo(const Value& value, NSComparisonPredicate::Options options) const;
    NSPredicate in(std::vector<Value> values, NSComparisonPredicate::Options options = {}) const;
    NSPredicate beginsWith(const Value& value, NSComparisonPredicate::Options options = {}) const;
    NSPredicate endsWith(const Value& value, NSComparisonPredicate::Options options = {}) const;
    NSPredicate contains(const Value& value, NSComparisonPredicate::Options options = {}) const;

private:
    NSExpression() = default;
    friend class NSPredicate;

    ExpressionType m_type = ExpressionType::constantValue;
    Value m_constant;
    Foundation::String m_keyPath;
    std::shared_ptr<const std::vector<Value>> m_collection;
};

// Short for `NSExpression::forKeyPath`: `key("title") == "Bank" && key("isFavorite") == true`.
inline NSExpression key(Foundation::String keyPath)
{
    return NSExpression::forKeyPath(std::move(keyPath));
}

} // namespace CoreData
