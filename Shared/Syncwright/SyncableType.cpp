#include "Shared/Syncwright/SyncableType.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"

namespace Syncwright {

std::vector<std::shared_ptr<Syncable>> SyncableType::fetch(const FetchRequest& request, CoreData::NSManagedObjectContext& context)
{
    std::vector<std::shared_ptr<Syncable>> syncables;
    for (auto& object : context.fetch(request)) {
        if (auto syncable = std::dynamic_pointer_cast<Syncable>(object))
            syncables.push_back(std::move(syncable));
    }
    return syncables;
}

} // namespace Syncwright
