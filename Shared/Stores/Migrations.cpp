#include "Shared/Stores/Migrations.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"

namespace Shared {

std::shared_ptr<CoreData::NSEntityDescription> Migrations::entityDescription()
{
    auto entity = Foundation::make<CoreData::NSEntityDescription>(entityName());
    entity->setManagedObjectClass<Migrations>();
    addCompletionAttributes(*entity);
    return entity;
}

} // namespace Shared
