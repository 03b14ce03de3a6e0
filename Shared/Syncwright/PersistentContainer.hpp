#pragma once

#include "Shared/Syncwright/PersistentContainer.StoreType.hpp"

#include "Platform/CoreData/NSPersistentContainer.hpp"

namespace Syncwright {

// A persistent container whose store lives where its store type says.
class PersistentContainer : public CoreData::NSPersistentContainer {
public:
    using StoreType = PersistentContainerStoreType;

    // Opens the store, creating its folder and file when missing; `timeout` is how many seconds it waits
    // for another process's lock; `tracksHistory` keeps the store's history of changes. Throws when the
    // location cannot be resolved or the store not opened.
    void loadPersistentStore(const StoreType& storeType, double timeout = 10, bool tracksHistory = false);

protected:
    friend Foundation::Construct;
    PersistentContainer(Foundation::String name, std::shared_ptr<CoreData::NSManagedObjectModel> model);
};

} // namespace Syncwright
