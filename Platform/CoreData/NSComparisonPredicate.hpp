#pragma once

#include "Platform/Foundation/OptionSet.hpp"

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
    struct Options : Foundation::OptionSet<Options> {
        static constexpr Options caseInsensitive() { return {1u << 0}; }
        static constexpr Options diacriticInsensitive() { return {1u << 1}; }
    };

    static NSPredicate make(const NSExpression& leftExpression, const NSExpression& rightExpression, Operator type,
                            Options options = {});
};

} // namespace CoreData
