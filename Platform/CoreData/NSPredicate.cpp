#include "Platform/CoreData/NSPredicate.hpp"

#include "Platform/CoreData/BoundPredicate.hpp"
#include "Platform/CoreData/NSManagedObject.hpp"
#include "Platform/Foundation/FatalError.hpp"

namespace CoreData {

struct NSPredicate::Node {
    Kind kind = Kind::constant;
    bool constant = false;
    NSExpression left = NSExpression::forConstantValue({});
    NSExpression right = NSExpression::forConstantValue({});
    NSComparisonPredicate::Operator operatorType = NSComparisonPredicate::Operator::equalTo;
    NSComparisonPredicate::Options options;
    NSCompoundPredicate::LogicalType logicalType = NSCompoundPredicate::LogicalType::and_;
    std::vector<NSPredicate> subpredicates;
    Block block;
};

NSPredicate::NSPredicate(bool value)
{
    auto node = std::make_shared<Node>();
    node->constant = value;
    m_node = std::move(node);
}

NSPredicate NSPredicate::withBlock(Block block)
{
    auto node = std::make_shared<Node>();
    node->kind = Kind::block;
    node->block = std::move(block);
    return NSPredicate(std::shared_ptr<const Node>(std::move(node)));
}

NSPredicate NSComparisonPredicate::make(const NSExpression& leftExpression, const NSExpression& rightExpression, Operator type,
                                        Options options)
{
    auto node = std::make_shared<NSPredicate::Node>();
    node->kind = NSPredicate::Kind::comparison;
    node->left = leftExpression;
    node->right = rightExpression;
    node->operatorType = type;
    node->options = options;
    return NSPredicate(std::shared_ptr<const NSPredicate::Node>(std::move(node)));
}

NSPredicate NSCompoundPredicate::make(LogicalType type, std::vector<NSPredicate> subpredicates)
{
    Foundation::precondition(type != LogicalType::not_ || subpredicates.size() == 1, "A not predicate takes one subpredicate");
    auto node = std::make_shared<NSPredicate::Node>();
    node->kind = NSPredicate::Kind::compound;
    node->logicalType = type;
    node->subpredicates = std::move(subpredicates);
    return NSPredicate(std::shared_ptr<const NSPredicate::Node>(std::move(node)));
}

NSPredicate NSCompoundPredicate::andPredicateWithSubpredicates(std::vector<NSPredicate> subpredicates)
{
    return make(LogicalType::and_, std::move(subpredicates));
}

NSPredicate NSCompoundPredicate::orPredicateWithSubpredicates(std::vector<NSPredicate> subpredicates)
{
    return make(LogicalType::or_, std::move(subpredicates));
}

NSPredicate NSCompoundPredicate::notPredicateWithSubpredicate(NSPredicate predicate)
{
    return make(LogicalType::not_, {std::move(predicate)});
}

NSPredicate::Kind NSPredicate::kind() const { return m_node->kind; }
bool NSPredicate::constantValue() const { return m_node->constant; }
const NSExpression& NSPredicate::leftExpression() const { return m_node->left; }
const NSExpression& NSPredicate::rightExpression() const { return m_node->right; }
NSComparisonPredicate::Operator NSPredicate::predicateOperatorType() const { return m_node->operatorType; }
NSComparisonPredicate::Options NSPredicate::options() const { return m_node->options; }
NSCompoundPredicate::LogicalType NSPredicate::compoundPredicateType() const { return m_node->logicalType; }
const std::vector<NSPredicate>& NSPredicate::subpredicates() const { return m_node->subpredicates; }
const NSPredicate::Block& NSPredicate::block() const { return m_node->block; }

bool NSPredicate::evaluate(const NSManagedObject& object) const
{
    return BoundPredicate(*this, *object.entity()).evaluate(object);
}

namespace {

const char* operatorText(NSComparisonPredicate::Operator type)
{
    using Operator = NSComparisonPredicate::Operator;
    switch (type) {
    case Operator::lessThan: return "<";
    case Operator::lessThanOrEqualTo: return "<=";
    case Operator::greaterThan: return ">";
    case Operator::greaterThanOrEqualTo: return ">=";
    case Operator::equalTo: return "==";
    case Operator::notEqualTo: return "!=";
    case Operator::beginsWith: return "BEGINSWITH";
    case Operator::endsWith: return "ENDSWITH";
    case Operator::in: return "IN";
    case Operator::contains: return "CONTAINS";
    }
    return "?";
}

std::string optionsText(NSComparisonPredicate::Options options)
{
    std::string text;
    if (options.contains(NSComparisonPredicate::Options::caseInsensitive()))
        text += "c";
    if (options.contains(NSComparisonPredicate::Options::diacriticInsensitive()))
        text += "d";
    return text.empty() ? text : "[" + text + "]";
}

std::string nested(const NSPredicate& predicate)
{
    bool needsParentheses = predicate.kind() == NSPredicate::Kind::compound
        && predicate.compoundPredicateType() != NSCompoundPredicate::LogicalType::not_ && predicate.subpredicates().size() > 1;
    return needsParentheses ? "(" + predicate.predicateFormat() + ")" : predicate.predicateFormat();
}

} // namespace

std::string NSPredicate::predicateFormat() const
{
    switch (m_node->kind) {
    case Kind::constant:
        return m_node->constant ? "TRUEPREDICATE" : "FALSEPREDICATE";
    case Kind::block:
        return "BLOCKPREDICATE";
    case Kind::comparison:
        return m_node->left.description() + " " + operatorText(m_node->operatorType) + optionsText(m_node->options) + " "
            + m_node->right.description();
    case Kind::compound: {
        const auto& subpredicates = m_node->subpredicates;
        if (m_node->logicalType == NSCompoundPredicate::LogicalType::not_)
            return "NOT " + nested(subpredicates.front());
        if (subpredicates.empty())
            return m_node->logicalType == NSCompoundPredicate::LogicalType::and_ ? "TRUEPREDICATE" : "FALSEPREDICATE";
        std::string separator = m_node->logicalType == NSCompoundPredicate::LogicalType::and_ ? " AND " : " OR ";
        std::string text;
        for (std::size_t i = 0; i < subpredicates.size(); ++i)
            text += (i ? separator : "") + nested(subpredicates[i]);
        return text;
    }
    }
    return {};
}

NSPredicate operator&&(const NSPredicate& lhs, const NSPredicate& rhs)
{
    return NSCompoundPredicate::andPredicateWithSubpredicates({lhs, rhs});
}

NSPredicate operator||(const NSPredicate& lhs, const NSPredicate& rhs)
{
    return NSCompoundPredicate::orPredicateWithSubpredicates({lhs, rhs});
}

NSPredicate operator!(const NSPredicate& predicate)
{
    return NSCompoundPredicate::notPredicateWithSubpredicate(predicate);
}

namespace {

NSPredicate compare(const NSExpression& lhs, const NSExpression& rhs, NSComparisonPredicate::Operator type)
{
    return NSComparisonPredicate::make(lhs, rhs, type);
}

} // namespace

using Operator = NSComparisonPredicate::Operator;

NSPredicate operator==(const NSExpression& lhs, const Value& rhs) { return compare(lhs, NSExpression::forConstantValue(rhs), Operator::equalTo); }
NSPredicate operator!=(const NSExpression& lhs, const Value& rhs) { return compare(lhs, NSExpression::forConstantValue(rhs), Operator::notEqualTo); }
NSPredicate operator<(const NSExpression& lhs, const Value& rhs) { return compare(lhs, NSExpression::forConstantValue(rhs), Operator::lessThan); }
NSPredicate operator<=(const NSExpression& lhs, const Value& rhs) { return compare(lhs, NSExpression::forConstantValue(rhs), Operator::lessThanOrEqualTo); }
NSPredicate operator>(const NSExpression& lhs, const Value& rhs) { return compare(lhs, NSExpression::forConstantValue(rhs), Operator::greaterThan); }
NSPredicate operator>=(const NSExpression& lhs, const Value& rhs) { return compare(lhs, NSExpression::forConstantValue(rhs), Operator::greaterThanOrEqualTo); }
NSPredicate operator==(const NSExpression& lhs, const NSExpression& rhs) { return compare(lhs, rhs, Operator::equalTo); }
NSPredicate operator!=(const NSExpression& lhs, const NSExpression& rhs) { return compare(lhs, rhs, Operator::notEqualTo); }
NSPredicate operator<(const NSExpression& lhs, const NSExpression& rhs) { return compare(lhs, rhs, Operator::lessThan); }
NSPredicate operator<=(const NSExpression& lhs, const NSExpression& rhs) { return compare(lhs, rhs, Operator::lessThanOrEqualTo); }
NSPredicate operator>(const NSExpression& lhs, const NSExpression& rhs) { return compare(lhs, rhs, Operator::greaterThan); }
NSPredicate operator>=(const NSExpression& lhs, const NSExpression& rhs) { return compare(lhs, rhs, Operator::greaterThanOrEqualTo); }

} // namespace CoreData
