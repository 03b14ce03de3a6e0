#pragma once

#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/CoreData/NSManagedObjectModel.hpp"
#include "Platform/CoreData/NSPersistentStoreCoordinator.hpp"
#include "Platform/CoreData/NSPersistentStoreDescription.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace CoreData {

// A model, its coordinator and store, a main-queue context for the screens and background contexts for
// everything else. By default the store is "<name>.sqlite" in the application-support folder.
class NSPersistentContainer : public Foundation::NSObject {
public:
    static Foundation::URL defaultDirectoryURL();

    const Foundation::String& name() const { return m_name; }
    const std::shared_ptr<NSManagedObjectModel>& managedObjectModel() const { return m_model; }
    const std::shared_ptr<NSPersistentStoreCoordinator>& persistentStoreCoordinator() const { return m_coordinator; }
    const std::vector<NSPersistentStoreDescription>& persistentStoreDescriptions() const { return m_descriptions; }
    void setPersistentStoreDescriptions(std::vector<NSPersistentStoreDescription> descriptions) { m_descriptions = std::move(descriptions); }

    // Opens the described store, then calls the completion (at once, on the calling thread) with the
    // description and the error, if opening failed.
    void loadPersistentStores(const std::function<void(const NSPersistentStoreDescription&, Foundation::ErrorPtr)>& completion);
    // The main-queue context; it merges what other contexts of the container save.
    const std::shared_ptr<NSManagedObjectContext>& viewContext() const { return m_viewContext; }
    std::shared_ptr<NSManagedObjectContext> newBackgroundContext() const;
    // Runs the block on a new background context's queue.
    void performBackgroundTask(std::function<void(const std::shared_ptr<NSManagedObjectContext>&)> block) const;

protected:
    friend Foundation::Construct;
    NSPersistentContainer(Foundation::String name, std::shared_ptr<NSManagedObjectModel> model);

private:
    Foundation::String m_name;
    std::shared_ptr<NSManagedObjectModel> m_model;
    std::shared_ptr<NSPersistentStoreCoordinator> m_coordinator;
    std::vector<NSPersistentStoreDescription> m_descriptions;
    std::shared_ptr<NSManagedObjectContext> m_viewContext;
};

} // namespace CoreData
