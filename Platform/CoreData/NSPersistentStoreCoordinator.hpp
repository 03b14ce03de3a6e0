#pragma once

#include "Platform/CoreData/NSManagedObjectModel.hpp"
#include "Platform/CoreData/NSPersistentStore.hpp"
#include "Platform/CoreData/NSPersistentStoreDescription.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <memory>
#include <mutex>
#include <vector>

namespace CoreData {

class NSManagedObjectContext;
class SQLiteStore;

// Joins a model to its store. Contexts of any queue share it; it serialises their access to the store.
// Taking the model checks and freezes it.
class NSPersistentStoreCoordinator : public Foundation::NSObject {
public:
    const std::shared_ptr<NSManagedObjectModel>& managedObjectModel() const { return m_model; }
    // Opens (creating when missing) the store the description names and fits it to the model: tables for
    // new entities, columns for new attributes. Throws for a damaged file, a store made for an
    // incompatible model, a store locked by another process past the time-out, or one that cannot be
    // opened; the file is left as it was. A coordinator holds one store.
    std::shared_ptr<NSPersistentStore> addPersistentStore(const NSPersistentStoreDescription& description);
    std::vector<std::shared_ptr<NSPersistentStore>> persistentStores() const;
    // Rewrites the store's file with only what it holds now and empties its log, so that nothing
    // deleted can be read from either any more (SQLite keeps freed pages, and old pages in its log, until
    // told otherwise). Waits for other processes' readers as long as a save waits for a writer, then
    // throws a time-out; a failure loses nothing the store holds.
    void compactPersistentStore();

protected:
    friend Foundation::Construct;
    explicit NSPersistentStoreCoordinator(std::shared_ptr<NSManagedObjectModel> model);

private:
    friend class NSManagedObjectContext;
    // The open store; throws when none was added.
    SQLiteStore& store() const;
    void addContext(const std::shared_ptr<NSManagedObjectContext>& context);
    // Hands what one context saved to the others that merge automatically.
    void contextDidSave(const NSManagedObjectContext& context, const std::function<void(NSManagedObjectContext&)>& merge);

    std::shared_ptr<NSManagedObjectModel> m_model;
    mutable std::mutex m_mutex;
    std::shared_ptr<NSPersistentStore> m_store;
    std::vector<std::weak_ptr<NSManagedObjectContext>> m_contexts;
};

} // namespace CoreData
