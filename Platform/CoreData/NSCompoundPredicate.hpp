#pragma once

#include <vector>

namespace CoreData {

class NSPredicate;

// A predicate made of others: all of them hold (and), any holds (or), or the one does not (not). An empty
// "and" holds, an empty "or" does not.
struct NSCompoundPredicate {
    enum class LogicalType { not_, and_, or_ };

    static NSPredicate make(LogicalType type, std::vector<NSPredicate> subpredicates);
    static NSPredicate andPredicateWithSubpredicates(std::vector<NSPredicate> subpredicates);
    static NSPredicate orPredicateWithSubpredicates(std::vector<NSPredicate> subpredicates);
    static NSPredicate notPredicateWithSubpredicate(NSPredicate predicate);
};

} // namespace CoreData
