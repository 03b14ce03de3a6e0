#include "Platform/CoreData/NSPersistentContainer.hpp"

#include "Platform/Foundation/FileManager.hpp"

namespace CoreData {

NSPersistentContainer::NSPersistentContainer(Foundation::String name, std::shared_ptr<NSManagedObjectModel> model)
    : m_name(std::move(name))
    , m_model(std::move(model))
    , m_coordinator(Foundation::make<NSPersistentStoreCoordinator>(m_model))
    , m_descriptions {NSPersistentStoreDescription(defaultDirectoryURL().appendingPathComponent(m_name + ".sqlite", false))}
    , m_viewContext(Foundation::make<NSManagedObjectContext>(NSManagedObjectContext::ConcurrencyType::mainQueueConcurrencyType))
{
    m_viewContext->setPersistentStoreCoordinator(m_coordinator);
    m_viewContext->setAutomaticallyMergesChangesFromParent(true);
}

Foundation::URL NSPersistentContainer::defaultDirectoryURL()
{
    return Foundation::FileManager::defaultManager()->url(Foundation::FileManager::SearchPathDirectory::applicationSupportDirectory,
                                                          Foundation::FileManager::SearchPathDomainMask::userDomainMask, std::nullopt, false);
}

void NSPersistentContainer::loadPersistentStores(
    const std::function<void(const NSPersistentStoreDescription&, Foundation::ErrorPtr)>& completion)
{
    for (const auto& description : m_descriptions) {
        Foundation::ErrorPtr error = Foundation::catchError([&] { m_coordinator->addPersistentStore(description); });
        completion(description, error);
    }
}

std::shared_ptr<NSManagedObjectContext> NSPersistentContainer::newBackgroundContext() const
{
    auto context = Foundation::make<NSManagedObjectContext>(NSManagedObjectContext::ConcurrencyType::privateQueueConcurrencyType);
    context->setPersistentStoreCoordinator(m_coordinator);
    return context;
}

void NSPersistentContainer::performBackgroundTask(std::function<void(const std::shared_ptr<NSManagedObjectContext>&)> block) const
{
    auto context = newBackgroundContext();
    context->perform([context, block = std::move(block)] { block(context); });
}

} // namespace CoreData
