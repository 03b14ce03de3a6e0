#pragma once

#include "Platform/CoreData/NSPredicate.hpp"

namespace Basalwork {

// Constants added to predicates.
struct NSPredicates {
    // A predicate that holds for every object.
    static CoreData::NSPredicate allResults();
};

// A compound predicate of this predicate followed by the other, in that order.
CoreData::NSPredicate and_(const CoreData::NSPredicate& predicate, const CoreData::NSPredicate& other);
CoreData::NSPredicate or_(const CoreData::NSPredicate& predicate, const CoreData::NSPredicate& other);

} // namespace Basalwork
