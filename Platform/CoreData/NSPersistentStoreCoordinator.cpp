#include "Platform/CoreData/NSPersistentStoreCoordinator.hpp"

#include "Platform/CoreData/CoreDataError.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/CoreData/SQLiteStore.hpp"

#include <algorithm>

namespace CoreData {

NSPersistentStoreCoordinator::NSPersistentStoreCoordinator(std::shared_ptr<NSManagedObjectModel> model)
    : m_model(std::move(model))
{
    m_model->freeze();
}

std::shared_ptr<NSPersistentStore> NSPersistentStoreCoordinator::addPersistentStore(const NSPersistentStoreDescription& description)
{
    std::lock_guard lock(m_mutex);
    if (m_store)
        throw CoreDataError::make(CoreDataError::persistentStoreOperation, "A coordinator holds one store, and this one has its store already.");
    bool inMemory = description.isInMemory();
    if (!inMemory && description.type() != NSSQLiteStoreType) {
        throw CoreDataError::make(CoreDataError::persistentStoreInvalidType,
                                  "A store of type " + description.type().utf8() + " cannot be opened: only SQLite and in-memory stores can.");
    }
    if (!inMemory && (!description.url() || !description.url()->isFileURL()))
        throw CoreDataError::make(CoreDataError::persistentStoreOpen, "An SQLite store needs the file URL of its location.");
    std::optional<std::string> path;
    if (!inMemory)
        path = description.url()->path().utf8();
    auto store = std::make_unique<SQLiteStore>(*m_model, path, description.timeout(), description.persistentHistoryTracking());
    m_store = Foundation::make<NSPersistentStore>(inMemory ? Foundation::String(NSInMemoryStoreType) : description.type(), description.url(),
                                                  std::move(store));
    return m_store;
}

std::vector<std::shared_ptr<NSPersistentStore>> NSPersistentStoreCoordinator::persistentStores() const
{
    std::lock_guard lock(m_mutex);
    if (!m_store)
        return {};
    return {m_store};
}

void NSPersistentStoreCoordinator::compactPersistentStore()
{
    store().compact();
}

SQLiteStore& NSPersistentStoreCoordinator::store() const
{
    std::lock_guard lock(m_mutex);
    if (!m_store)
        throw CoreDataError::make(CoreDataError::persistentStoreOperation, "The coordinator has no store: load the store first.");
    return *m_store->m_store;
}

void NSPersistentStoreCoordinator::addContext(const std::shared_ptr<NSManagedObjectContext>& context)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_contexts, [](const auto& weak) { return weak.expired(); });
    m_contexts.push_back(context);
}

void NSPersistentStoreCoordinator::contextDidSave(const NSManagedObjectContext& context,
                                                  const std::function<void(NSManagedObjectContext&)>& merge)
{
    std::vector<std::shared_ptr<NSManagedObjectContext>> others;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& weak : m_contexts) {
            auto other = weak.lock();
            if (other && other.get() != &context && other->automaticallyMergesChangesFromParent())
                others.push_back(std::move(other));
        }
    }
    for (const auto& other : others) {
        std::weak_ptr<NSManagedObjectContext> weak = other;
        other->perform([weak, merge] {
            if (auto strong = weak.lock())
                merge(*strong);
        });
    }
}

} // namespace CoreData
