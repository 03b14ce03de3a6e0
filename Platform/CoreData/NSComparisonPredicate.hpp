#pragma once

#include <cstdint>

namespace CoreData {

class NSExpression;
class NSPredicate;

// A predicate that compares two expressions. Comparing with nil: only equal and not-equal can hold;
// ordering and text operators are false. Numbers (integers, doubles, booleans) compare by value.
struct NSComparisonPredicate {
    enum class Operator {
        lessThan,
        lessThanOrEqualTo,
        greaterThan,
        greaterThanOrEqualTo,
        equalTo,
        notEqualTo,
        beginsWith,
        endsWith,
        in,
        contains,
    };
    // For text: compare ignoring case ([c]) or diacritics ([d]).
    struct Options {
        std::uint64_t rawValue;
        static constexpr Options caseInsensitive() { return {1u << 0}; }
        static constexpr Options diacriticInsensitive() { return {1u << 1}; }
        constexpr bool contains(Options other) const { return (rawValue & other.rawValue) == other.rawValue; }
        constexpr bool isEmpty() const { return rawValue == 0; }
        friend constexpr Options operator|(Options lhs, Options rhs) { return {lhs.rawValue | rhs.rawValue}; }
        friend constexpr bool operator==(Options, Options) = default;
    };

    static NSPredicate make(const NSExpression& leftExpression, const NSExpression& rightExpression, Operator type,
                            Options options = {});
};

} // namespace CoreData
