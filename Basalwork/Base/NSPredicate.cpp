#include "Basalwork/Base/NSPredicate.hpp"

namespace Basalwork {

CoreData::NSPredicate NSPredicates::allResults()
{
    return CoreData::NSPredicate(true);
}

CoreData::NSPredicate and_(const CoreData::NSPredicate& predicate, const CoreData::NSPredicate& other)
{
    return CoreData::NSCompoundPredicate::andPredicateWithSubpredicates({predicate, other});
}

CoreData::NSPredicate or_(const CoreData::NSPredicate& predicate, const CoreData::NSPredicate& other)
{
    return CoreData::NSCompoundPredicate::orPredicateWithSubpredicates({predicate, other});
}

} // namespace Basalwork
