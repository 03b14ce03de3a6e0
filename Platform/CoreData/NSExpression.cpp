#include "Platform/CoreData/NSExpression.hpp"

#include "Platform/CoreData/NSPredicate.hpp"

namespace CoreData {

NSExpression NSExpression::forConstantValue(Value value)
{
    NSExpression expression;
    expression.m_type = ExpressionType::constantValue;
    expression.m_constant = std::move(value);
    return expression;
}

NSExpression NSExpression::forKeyPath(Foundation::String keyPath)
{
    NSExpression expression;
    expression.m_type = ExpressionType::keyPath;
    expression.m_keyPath = std::move(keyPath);
    return expression;
}

NSExpression NSExpression::expressionForEvaluatedObject()
{
    NSExpression expression;
    expression.m_type = ExpressionType::evaluatedObject;
    return expression;
}

NSExpression NSExpression::forAggregate(std::vector<Value> collection)
{
    NSExpression expression;
    expression.m_type = ExpressionType::aggregate;
    expression.m_collection = std::make_shared<const std::vector<Value>>(std::move(collection));
    return expression;
}

const std::vector<Value>& NSExpression::collection() const
{
    static const std::vector<Value> empty;
    return m_collection ? *m_collection : empty;
}

std::string NSExpression::description() const
{
    switch (m_type) {
    case ExpressionType::constantValue:
        return m_constant.description();
    case ExpressionType::evaluatedObject:
        return "SELF";
    case ExpressionType::keyPath:
        return m_keyPath.utf8();
    case ExpressionType::aggregate: {
        std::string result = "{";
        for (std::size_t i = 0; i < collection().size(); ++i)
            result += (i ? ", " : "") + collection()[i].description();
        return result + "}";
    }
    }
    return {};
}

NSPredicate NSExpression::equalTo(const Value& value, NSComparisonPredicate::Options options) const
{
    return NSComparisonPredicate::make(*this, forConstantValue(value), NSComparisonPredicate::Operator::equalTo, options);
}

NSPredicate NSExpression::in(std::vector<Value> values, NSComparisonPredicate::Options options) const
{
    return NSComparisonPredicate::make(*this, forAggregate(std::move(values)), NSComparisonPredicate::Operator::in, options);
}

NSPredicate NSExpression::beginsWith(const Value& value, NSComparisonPredicate::Options options) const
{
    return NSComparisonPredicate::make(*this, forConstantValue(value), NSComparisonPredicate::Operator::beginsWith, options);
}

NSPredicate NSExpression::endsWith(const Value& value, NSComparisonPredicate::Options options) const
{
    return NSComparisonPredicate::make(*this, forConstantValue(value), NSComparisonPredicate::Operator::endsWith, options);
}

NSPredicate NSExpression::contains(const Value& value, NSComparisonPredicate::Options options) const
{
    return NSComparisonPredicate::make(*this, forConstantValue(value), NSComparisonPredicate::Operator::contains, options);
}

} // namespace CoreData
