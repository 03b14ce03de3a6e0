#include "Platform/CoreData/BoundPredicate.hpp"

#include "Platform/CoreData/CoreDataError.hpp"
#include "Platform/CoreData/NSEntityDescription.hpp"
#include "Platform/CoreData/NSManagedObject.hpp"
#include "Platform/CoreData/TextComparison.hpp"

#include <algorithm>
#include <cmath>

namespace CoreData {

using Operator = NSComparisonPredicate::Operator;
using Options = NSComparisonPredicate::Options;

namespace {

// Above this many values an `in` list is handed to SQL as one set instead of one parameter each. A list
// of parameters lets the store look the values up in an index of the column; the set is a function the
// store calls on every row, which pays only for lists as long as a good part of a table.
constexpr std::size_t longListThreshold = 1000;
// Up to this many values an `in` list is walked in memory; a longer one is looked up.
constexpr std::size_t shortListLength = 8;

std::optional<long double> numeric(const Value& value)
{
    if (const auto* boolean = value.as<bool>())
        return *boolean ? 1.0L : 0.0L;
    if (const auto* integer = value.as<std::int64_t>())
        return static_cast<long double>(*integer);
    if (const auto* real = value.as<double>())
        return static_cast<long double>(*real);
    return std::nullopt;
}

bool isNaN(const Value& value)
{
    const auto* real = value.as<double>();
    return real && std::isnan(*real);
}

template <class T>
int threeWay(const T& lhs, const T& rhs)
{
    return lhs < rhs ? -1 : rhs < lhs ? 1 : 0;
}

// Order of two non-nil values of one kind; nothing when they cannot be ordered.
std::optional<int> order(const Value& lhs, const Value& rhs, bool caseInsensitive)
{
    auto left = numeric(lhs);
    auto right = numeric(rhs);
    if (left && right) {
        if (std::isnan(left.value()) || std::isnan(right.value()))
            return std::nullopt;
        return threeWay(*left, *right);
    }
    if (const auto* text = lhs.as<Foundation::String>()) {
        if (const auto* other = rhs.as<Foundation::String>())
            return caseInsensitive ? TextComparison::compareCaseInsensitive(text->view(), other->view())
                                   : TextComparison::compare(text->view(), other->view());
    }
    if (const auto* date = lhs.as<Foundation::Date>()) {
        if (const auto* other = rhs.as<Foundation::Date>())
            return threeWay(date->timeIntervalSinceReferenceDate(), other->timeIntervalSinceReferenceDate());
    }
    if (const auto* uuid = lhs.as<Foundation::UUID>()) {
        if (const auto* other = rhs.as<Foundation::UUID>())
            return threeWay(uuid->bytes(), other->bytes());
    }
    if (const auto* data = lhs.as<Foundation::Data>()) {
        if (const auto* other = rhs.as<Foundation::Data>())
            return threeWay(data->byteVector(), other->byteVector());
    }
    if (const auto* id = lhs.as<NSManagedObjectID>()) {
        if (const auto* other = rhs.as<NSManagedObjectID>())
            return threeWay(*id, *other);
    }
    return std::nullopt;
}

bool valuesEqual(const Value& lhs, const Value& rhs, Options options)
{
    if (lhs.isNil() || rhs.isNil())
        return lhs.isNil() && rhs.isNil();
    auto left = numeric(lhs);
    auto right = numeric(rhs);
    if (left && right)
        return *left == *right;
    const auto* text = lhs.as<Foundation::String>();
    const auto* other = rhs.as<Foundation::String>();
    if (text && other)
        return TextComparison::holds(Operator::equalTo, text->view(), other->view(), options);
    return lhs == rhs;
}

std::string quoted(const Foundation::String& name)
{
    return "\"" + name.utf8() + "\"";
}

const char* sqlOperator(Operator type)
{
    switch (type) {
    case Operator::lessThan: return "<";
    case Operator::lessThanOrEqualTo: return "<=";
    case Operator::greaterThan: return ">";
    case Operator::greaterThanOrEqualTo: return ">=";
    default: return "=";
    }
}

bool isTextOperator(Operator type)
{
    return type == Operator::beginsWith || type == Operator::endsWith || type == Operator::contains;
}

bool isOrdering(Operator type)
{
    return type == Operator::lessThan || type == Operator::lessThanOrEqualTo || type == Operator::greaterThan
        || type == Operator::greaterThanOrEqualTo;
}

Foundation::NSError invalidPredicate(const NSPredicate& predicate, const std::string& reason)
{
    return CoreDataError::make(CoreDataError::persistentStoreOperation,
                               "The predicate \"" + predicate.predicateFormat() + "\" cannot be used: " + reason);
}

} // namespace

bool comparisonHolds(const Value& lhs, const Value& rhs, Operator type, Options options)
{
    if (type == Operator::equalTo)
        return valuesEqual(lhs, rhs, options);
    if (type == Operator::notEqualTo)
        return !valuesEqual(lhs, rhs, options);
    if (lhs.isNil() || rhs.isNil())
        return false;
    if (isTextOperator(type) || (isOrdering(type) && !options.isEmpty())) {
        const auto* text = lhs.as<Foundation::String>();
        const auto* other = rhs.as<Foundation::String>();
        if (text && other)
            return TextComparison::holds(type, text->view(), other->view(), options);
        if (isTextOperator(type))
            return false;
    }
    if (!isOrdering(type))
        return false;
    std::optional<int> result;
    if (const auto* id = lhs.as<NSManagedObjectID>()) {
        // Objects of one entity in the store's order; unsaved ones have no place in it yet.
        const auto* other = rhs.as<NSManagedObjectID>();
        if (!other || id->isTemporaryID() || other->isTemporaryID() || id->entityName() != other->entityName())
            return false;
        result = id->primaryKey() < other->primaryKey() ? -1 : id->primaryKey() > other->primaryKey() ? 1 : 0;
    } else {
        result = order(lhs, rhs, false);
    }
    if (!result)
        return false;
    switch (type) {
    case Operator::lessThan: return *result < 0;
    case Operator::lessThanOrEqualTo: return *result <= 0;
    case Operator::greaterThan: return *result > 0;
    default: return *result >= 0;
    }
}

int sortOrder(const Value& lhs, const Value& rhs, bool caseInsensitive)
{
    if (lhs.isNil() || rhs.isNil())
        return lhs.isNil() == rhs.isNil() ? 0 : lhs.isNil() ? -1 : 1;
    return order(lhs, rhs, caseInsensitive).value_or(0);
}

BoundPredicate::BoundPredicate(const NSPredicate& predicate, const NSEntityDescription& entity)
    : m_entity(entity)
{
    m_root = bind(predicate);
}

BoundPredicate::Node BoundPredicate::bind(const NSPredicate& predicate)
{
    Node node;
    node.kind = predicate.kind();
    switch (predicate.kind()) {
    case NSPredicate::Kind::constant:
        node.constant = predicate.constantValue();
        break;
    case NSPredicate::Kind::block:
        node.block = predicate.block();
        m_usesBlock = true;
        break;
    case NSPredicate::Kind::compound:
        node.logicalType = predicate.compoundPredicateType();
        for (const auto& subpredicate : predicate.subpredicates())
            node.children.push_back(bind(subpredicate));
        break;
    case NSPredicate::Kind::comparison:
        node.type = predicate.predicateOperatorType();
        node.options = predicate.options();
        node.left = bindOperand(predicate.leftExpression(), predicate);
        node.right = bindOperand(predicate.rightExpression(), predicate);
        check(node, predicate);
        if (node.type == Operator::in && node.options.isEmpty() && node.right.list.size() > shortListLength) {
            // A long list is looked up rather than walked. ASCII texts are equal exactly when their bytes
            // are; anything else (another text may be canonically equal to an ASCII one) is compared as before.
            auto lookup = std::make_shared<ListLookup>();
            for (const auto& element : node.right.list) {
                const auto* text = element.as<Foundation::String>();
                if (text && text->isASCII())
                    lookup->asciiTexts.insert(text->utf8());
                else
                    lookup->others.push_back(element);
            }
            node.right.lookup = std::move(lookup);
        }
        break;
    }
    return node;
}

BoundPredicate::Operand BoundPredicate::bindOperand(const NSExpression& expression, const NSPredicate& predicate) const
{
    Operand operand;
    operand.kind = expression.expressionType();
    switch (expression.expressionType()) {
    case NSExpression::ExpressionType::keyPath: {
        const auto& key = expression.keyPath();
        if (key.view() == "self" || key.view() == "SELF") {
            operand.kind = NSExpression::ExpressionType::evaluatedObject;
            operand.typeClass = TypeClass::object;
            operand.objectEntity = &m_entity;
            break;
        }
        auto index = m_entity.storedPropertyIndex(key.view());
        if (!index) {
            std::string reason = key.contains(".") ? "it goes through a relationship (" + key.utf8() + "); compare the relationship with an object ID instead"
                : m_entity.toManyRelationship(key.view()) ? key.utf8() + " is a to-many relationship"
                                                          : m_entity.name().utf8() + " has no attribute or to-one relationship named " + key.utf8();
            throw invalidPredicate(predicate, reason);
        }
        const auto& property = m_entity.storedProperties()[*index];
        operand.index = *index;
        if (property.relationship) {
            operand.typeClass = TypeClass::object;
            operand.objectEntity = property.destination;
        } else {
            operand.attributeType = property.type;
        }
        break;
    }
    case NSExpression::ExpressionType::evaluatedObject:
        operand.typeClass = TypeClass::object;
        operand.objectEntity = &m_entity;
        break;
    case NSExpression::ExpressionType::constantValue:
        operand.constant = expression.constantValue();
        operand.attributeType = operand.constant.attributeType();
        if (operand.constant.as<NSManagedObjectID>())
            operand.typeClass = TypeClass::object;
        break;
    case NSExpression::ExpressionType::aggregate:
        operand.list = expression.collection();
        break;
    }
    if (operand.attributeType) {
        switch (*operand.attributeType) {
        case NSAttributeType::integer64:
        case NSAttributeType::double_:
        case NSAttributeType::boolean: operand.typeClass = TypeClass::number; break;
        case NSAttributeType::string: operand.typeClass = TypeClass::text; break;
        case NSAttributeType::date: operand.typeClass = TypeClass::date; break;
        case NSAttributeType::binaryData: operand.typeClass = TypeClass::data; break;
        case NSAttributeType::uuid: operand.typeClass = TypeClass::uuid; break;
        }
    }
    return operand;
}

void BoundPredicate::check(const Node& node, const NSPredicate& predicate) const
{
    using Kind = NSExpression::ExpressionType;
    auto compatible = [](TypeClass lhs, TypeClass rhs) { return lhs == TypeClass::any || rhs == TypeClass::any || lhs == rhs; };
    if (node.left.kind == Kind::aggregate)
        throw invalidPredicate(predicate, "a list can only stand on the right of IN");
    if (node.type == Operator::in) {
        if (node.right.kind != Kind::aggregate)
            throw invalidPredicate(predicate, "IN needs a list on its right");
        for (const auto& element : node.right.list) {
            Operand operand = bindOperand(NSExpression::forConstantValue(element), predicate);
            if (!compatible(node.left.typeClass, operand.typeClass)) {
                std::string leftKind = node.left.attributeType ? std::string("a ") + name(*node.left.attributeType) : "an object";
                throw invalidPredicate(predicate, "the list holds " + element.description() + ", which cannot equal " + leftKind);
            }
        }
        return;
    }
    if (node.right.kind == Kind::aggregate)
        throw invalidPredicate(predicate, "a list can only stand on the right of IN");
    if (!compatible(node.left.typeClass, node.right.typeClass))
        throw invalidPredicate(predicate, "its two sides hold different kinds of values");
    if (isTextOperator(node.type) && (node.left.typeClass != TypeClass::text && node.left.typeClass != TypeClass::any))
        throw invalidPredicate(predicate, "BEGINSWITH, ENDSWITH and CONTAINS compare text");
    // The object itself can be placed in the store's order (to read it a batch at a time); what it
    // relates to can only be compared for equality.
    if (isOrdering(node.type) && node.left.typeClass == TypeClass::object && node.left.kind != Kind::evaluatedObject
        && node.right.kind != Kind::evaluatedObject)
        throw invalidPredicate(predicate, "objects can only be compared for equality");
}

bool BoundPredicate::evaluate(const NSManagedObject& object) const
{
    return evaluate(m_root, object);
}

Value BoundPredicate::operandValue(const Operand& operand, const NSManagedObject& object) const
{
    switch (operand.kind) {
    case NSExpression::ExpressionType::keyPath: return object.primitiveValue(operand.index);
    case NSExpression::ExpressionType::evaluatedObject: return object.objectID();
    default: return operand.constant;
    }
}

bool BoundPredicate::evaluate(const Node& node, const NSManagedObject& object) const
{
    switch (node.kind) {
    case NSPredicate::Kind::constant:
        return node.constant;
    case NSPredicate::Kind::block:
        return node.block(object);
    case NSPredicate::Kind::compound:
        switch (node.logicalType) {
        case NSCompoundPredicate::LogicalType::not_:
            return !evaluate(node.children.front(), object);
        case NSCompoundPredicate::LogicalType::and_:
            return std::all_of(node.children.begin(), node.children.end(), [&](const Node& child) { return evaluate(child, object); });
        case NSCompoundPredicate::LogicalType::or_:
            return std::any_of(node.children.begin(), node.children.end(), [&](const Node& child) { return evaluate(child, object); });
        }
        return false;
    case NSPredicate::Kind::comparison: {
        Value left = operandValue(node.left, object);
        if (node.type == Operator::in) {
            const auto* text = left.as<Foundation::String>();
            if (node.right.lookup && text && text->isASCII()) {
                if (node.right.lookup->asciiTexts.contains(text->utf8()))
                    return true;
                const auto& others = node.right.lookup->others;
                return std::any_of(others.begin(), others.end(), [&](const Value& element) { return valuesEqual(left, element, node.options); });
            }
            return std::any_of(node.right.list.begin(), node.right.list.end(),
                               [&](const Value& element) { return valuesEqual(left, element, node.options); });
        }
        return comparisonHolds(left, operandValue(node.right, object), node.type, node.options);
    }
    }
    return false;
}

SQLFragment BoundPredicate::sql() const
{
    SQLFragment fragment;
    fragment.text = sql(m_root, fragment);
    return fragment;
}

std::string BoundPredicate::sql(const Node& node, SQLFragment& fragment) const
{
    switch (node.kind) {
    case NSPredicate::Kind::constant:
        return node.constant ? "1" : "0";
    case NSPredicate::Kind::block:
        return "1";
    case NSPredicate::Kind::compound: {
        if (node.logicalType == NSCompoundPredicate::LogicalType::not_)
            return "(NOT " + sql(node.children.front(), fragment) + ")";
        bool isAnd = node.logicalType == NSCompoundPredicate::LogicalType::and_;
        if (node.children.empty())
            return isAnd ? "1" : "0";
        std::string text = "(";
        for (std::size_t i = 0; i < node.children.size(); ++i)
            text += (i ? (isAnd ? " AND " : " OR ") : "") + sql(node.children[i], fragment);
        return text + ")";
    }
    case NSPredicate::Kind::comparison:
        return node.type == Operator::in ? inSQL(node, fragment) : comparisonSQL(node, fragment);
    }
    return "0";
}

std::string BoundPredicate::operandSQL(const Operand& operand, SQLFragment& fragment) const
{
    switch (operand.kind) {
    case NSExpression::ExpressionType::keyPath:
        return quoted(m_entity.storedProperties()[operand.index].name);
    case NSExpression::ExpressionType::evaluatedObject:
        return "\"_pk\"";
    default:
        if (const auto* id = operand.constant.as<NSManagedObjectID>())
            fragment.bindings.emplace_back(Value(id->primaryKey()));
        else
            fragment.bindings.emplace_back(operand.constant);
        return "?";
    }
}

std::string BoundPredicate::comparisonSQL(const Node& node, SQLFragment& fragment) const
{
    using Kind = NSExpression::ExpressionType;
    const Operand& left = node.left;
    const Operand& right = node.right;
    bool leftConstant = left.kind == Kind::constantValue;
    bool rightConstant = right.kind == Kind::constantValue;
    if (leftConstant && rightConstant)
        return comparisonHolds(left.constant, right.constant, node.type, node.options) ? "1" : "0";
    bool equality = node.type == Operator::equalTo || node.type == Operator::notEqualTo;
    // Comparisons SQL cannot express the same way run through the store's own text comparison.
    bool text = left.typeClass == TypeClass::text || right.typeClass == TypeClass::text;
    if (text && (!node.options.isEmpty() || isTextOperator(node.type))) {
        std::string lhs = operandSQL(left, fragment);
        std::string rhs = operandSQL(right, fragment);
        return "cd_compare(" + lhs + ", " + rhs + ", " + std::to_string(static_cast<int>(node.type)) + ", "
            + std::to_string(node.options.rawValue) + ")";
    }
    if (isTextOperator(node.type))
        return "0";
    // A constant that no stored value can equal: NaN, or the ID of an object the store does not hold here.
    for (const Operand* operand : {&left, &right}) {
        if (operand->kind != Kind::constantValue)
            continue;
        const Operand& other = operand == &left ? right : left;
        const auto* id = operand->constant.as<NSManagedObjectID>();
        bool unmatched = isNaN(operand->constant)
            || (id && (id->isTemporaryID() || other.objectEntity == nullptr || id->entityName() != other.objectEntity->name()));
        if (unmatched)
            return node.type == Operator::notEqualTo ? "1" : "0";
        if (operand->constant.isNil() && !equality)
            return "0";
    }
    std::string lhs = operandSQL(left, fragment);
    std::string rhs = operandSQL(right, fragment);
    if (node.type == Operator::equalTo)
        return "(" + lhs + " IS " + rhs + ")";
    if (node.type == Operator::notEqualTo)
        return "(" + lhs + " IS NOT " + rhs + ")";
    // SQL compares with NULL as unknown; the store says false, also under NOT.
    std::string guarded = "(";
    if (!leftConstant)
        guarded += lhs + " IS NOT NULL AND ";
    if (!rightConstant)
        guarded += rhs + " IS NOT NULL AND ";
    return guarded + lhs + " " + sqlOperator(node.type) + " " + rhs + ")";
}

std::string BoundPredicate::inSQL(const Node& node, SQLFragment& fragment) const
{
    const Operand& left = node.left;
    if (left.kind == NSExpression::ExpressionType::constantValue) {
        bool found = std::any_of(node.right.list.begin(), node.right.list.end(),
                                 [&](const Value& element) { return valuesEqual(left.constant, element, node.options); });
        return found ? "1" : "0";
    }
    std::string column = operandSQL(left, fragment);
    bool hasNil = false;
    std::vector<Value> values;
    for (const auto& element : node.right.list) {
        if (element.isNil()) {
            hasNil = true;
            continue;
        }
        if (left.typeClass == TypeClass::text && !node.options.isEmpty()) {
            values.push_back(element);
            continue;
        }
        // Each value in the form the column reads back, so that a set lookup finds it.
        if (const auto* id = element.as<NSManagedObjectID>()) {
            if (!id->isTemporaryID() && left.objectEntity && id->entityName() == left.objectEntity->name())
                values.emplace_back(id->primaryKey());
            continue;
        }
        auto number = numeric(element);
        if (number && left.attributeType) {
            if (std::isnan(*number))
                continue;
            if (*left.attributeType == NSAttributeType::double_) {
                values.emplace_back(static_cast<double>(*number));
            } else if (*number == std::floor(*number) && *number >= -9223372036854775808.0L && *number < 9223372036854775808.0L) {
                auto integer = static_cast<std::int64_t>(*number);
                if (*left.attributeType == NSAttributeType::integer64)
                    values.emplace_back(integer);
                else if (integer == 0 || integer == 1)
                    values.emplace_back(integer == 1);
            }
            continue;
        }
        values.push_back(element);
    }
    std::vector<std::string> terms;
    if (hasNil)
        terms.push_back(column + " IS NULL");
    if (left.typeClass == TypeClass::text && !node.options.isEmpty()) {
        for (const auto& value : values) {
            fragment.bindings.emplace_back(value);
            terms.push_back("cd_compare(" + column + ", ?, " + std::to_string(static_cast<int>(Operator::equalTo)) + ", "
                            + std::to_string(node.options.rawValue) + ")");
        }
    } else if (values.size() > longListThreshold) {
        fragment.bindings.emplace_back(std::make_shared<const SQLValueSet>(values.begin(), values.end()));
        auto type = left.attributeType.value_or(NSAttributeType::integer64);
        terms.push_back("cd_in(" + column + ", ?, " + std::to_string(static_cast<int>(type)) + ")");
    } else if (!values.empty()) {
        std::string list;
        for (const auto& value : values) {
            fragment.bindings.emplace_back(value);
            list += list.empty() ? "?" : ", ?";
        }
        terms.push_back("(" + column + " IS NOT NULL AND " + column + " IN (" + list + "))");
    }
    if (terms.empty())
        return "0";
    std::string text = "(";
    for (std::size_t i = 0; i < terms.size(); ++i)
        text += (i ? " OR " : "") + terms[i];
    return text + ")";
}

} // namespace CoreData
