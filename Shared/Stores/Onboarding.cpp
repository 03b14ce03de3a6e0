#include "Shared/Stores/Onboarding.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"

namespace Shared {

std::shared_ptr<CoreData::NSEntityDescription> Onboarding::entityDescription()
{
    auto entity = Foundation::make<CoreData::NSEntityDescription>(entityName());
    entity->setManagedObjectClass<Onboarding>();
    addCompletionAttributes(*entity);
    return entity;
}

} // namespace Shared
