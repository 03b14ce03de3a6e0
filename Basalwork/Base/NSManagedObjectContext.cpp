#include "Basalwork/Base/NSManagedObjectContext.hpp"

namespace Basalwork {

void performAsynchronously(CoreData::NSManagedObjectContext& context, std::function<void()> block)
{
    context.perform(std::move(block));
}

bool hasAny(CoreData::NSManagedObjectContext& context, const CoreData::NSFetchRequest<CoreData::NSManagedObject>& matching)
{
    return context.count(matching) > 0;
}

bool hasNone(CoreData::NSManagedObjectContext& context, const CoreData::NSFetchRequest<CoreData::NSManagedObject>& matching)
{
    return context.count(matching) < 1;
}

bool hasNoMoreThanOne(CoreData::NSManagedObjectContext& context, const CoreData::NSFetchRequest<CoreData::NSManagedObject>& matching)
{
    return context.count(matching) < 2;
}

void delete_(CoreData::NSManagedObjectContext& context, const CoreData::NSFetchRequest<CoreData::NSManagedObject>& request)
{
    context.execute(CoreData::NSBatchDeleteRequest(request));
}

} // namespace Basalwork
