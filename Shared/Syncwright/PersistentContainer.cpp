#include "Shared/Syncwright/PersistentContainer.hpp"

#include "Platform/Foundation/FileManager.hpp"

namespace Syncwright {

PersistentContainer::PersistentContainer(Foundation::String name, std::shared_ptr<CoreData::NSManagedObjectModel> model)
    : NSPersistentContainer(std::move(name), std::move(model))
{
}

void PersistentContainer::loadPersistentStore(const StoreType& storeType, double timeout, bool tracksHistory)
{
    CoreData::NSPersistentStoreDescription description;
    if (const auto* onDisk = storeType.as<StoreType::OnDisk>()) {
        auto folder = onDisk->location.url(*Foundation::FileManager::defaultManager());
        description.setURL(folder.appendingPathComponent(onDisk->filename + ".sqlite", false));
    } else {
        description.setType(CoreData::NSInMemoryStoreType);
    }
    description.setTimeout(timeout);
    description.setPersistentHistoryTracking(tracksHistory);
    setPersistentStoreDescriptions({description});
    Foundation::ErrorPtr failure;
    loadPersistentStores([&](const CoreData::NSPersistentStoreDescription&, Foundation::ErrorPtr error) { failure = std::move(error); });
    if (failure)
        failure->raise();
}

} // namespace Syncwright
