#pragma once

#include "Platform/CoreData/NSBatchDeleteRequest.hpp"
#include "Platform/CoreData/NSBatchInsertRequest.hpp"
#include "Platform/CoreData/NSBatchDeleteResult.hpp"
#include "Platform/CoreData/NSFetchRequest.hpp"
#include "Platform/CoreData/NSManagedObject.hpp"
#include "Platform/CoreData/NSPersistentHistoryChangeRequest.hpp"
#include "Platform/CoreData/NSPersistentHistoryResult.hpp"
#include "Platform/CoreData/ObjectRegistry.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace Foundation {
class DispatchQueue;
}

namespace CoreData {

class NSPersistentStoreCoordinator;
class SQLiteStore;

// The keys of the did-save and did-change notifications; each holds a
// `std::vector<std::shared_ptr<NSManagedObject>>` (see `NSManagedObjectContext::objects`).
inline constexpr const char* NSInsertedObjectsKey = "inserted";
inline constexpr const char* NSUpdatedObjectsKey = "updated";
inline constexpr const char* NSDeletedObjectsKey = "deleted";
inline constexpr const char* NSRefreshedObjectsKey = "refreshed";

// A scratch pad of objects over a store coordinator. It owns a queue: the main queue, or a serial queue of
// its own. The context and its objects are used only on that queue, through `perform` and `performAndWait`
// (a main-queue context also directly on the main thread). Changes stay in the context until `save()`
// writes them to the store in one transaction.
class NSManagedObjectContext : public Foundation::NSObject {
public:
    enum class ConcurrencyType { privateQueueConcurrencyType, mainQueueConcurrencyType };

    // Posted by a context after a save, with the objects it inserted, updated and deleted (on another
    // queue, read only their IDs: the objects belong to the saving context).
    static Foundation::Notification::Name didSaveObjectsNotification();
    // Posted by a context when it announces changes to its objects: its own (when `processPendingChanges`
    // runs: after a `perform` block, on the next turn of the main loop for a main-queue context, and
    // before a save), and those merged from other contexts (inserted, refreshed, deleted).
    static Foundation::Notification::Name didChangeObjectsNotification();
    // The objects a notification holds under `key`; none when it holds none.
    static std::vector<std::shared_ptr<NSManagedObject>> objects(const Foundation::Notification& notification, const char* key);

    ConcurrencyType concurrencyType() const { return m_concurrencyType; }
    std::shared_ptr<NSPersistentStoreCoordinator> persistentStoreCoordinator() const { return m_coordinator; }
    void setPersistentStoreCoordinator(std::shared_ptr<NSPersistentStoreCoordinator> coordinator);
    const std::optional<Foundation::String>& name() const { return m_name; }
    void setName(std::optional<Foundation::String> name) { m_name = std::move(name); }
    // When set, what other contexts of the same coordinator save is merged into this one on its queue.
    bool automaticallyMergesChangesFromParent() const { return m_automaticallyMerges; }
    void setAutomaticallyMergesChangesFromParent(bool merges) { m_automaticallyMerges = merges; }

    // Runs the block on the context's queue later; an error escaping it stops the program.
    void perform(std::function<void()> block);
    // Runs the block on the context's queue (at once when already on it) and returns its result, or
    // throws what it threw.
    template <class Block>
    std::invoke_result_t<Block> performAndWait(Block&& block)
    {
        using R = std::invoke_result_t<Block>;
        if constexpr (std::is_void_v<R>) {
            runAndWait(std::function<void()>(std::forward<Block>(block)));
        } else {
            std::optional<R> result;
            runAndWait([&] { result.emplace(block()); });
            return std::move(*result);
        }
    }

    std::shared_ptr<NSManagedObject> insertNewObject(std::string_view entityName);
    template <class T>
    std::shared_ptr<T> insertNewObject(std::string_view entityName)
    {
        return castObject<T>(insertNewObject(entityName));
    }
    template <NamesItsEntity T>
    std::shared_ptr<T> insertNewObject()
    {
        return insertNewObject<T>(Foundation::String(T::entityName()).view());
    }
    // Marks the object deleted, and follows the delete rules of its relationships: related objects are
    // deleted too (cascade) or lose their link to it (nullify). Throws when the store cannot be read.
    void delete_(const std::shared_ptr<NSManagedObject>& object);

    // The context's object for an ID, read from the store when the context does not hold it yet; throws
    // when the store has no such object.
    std::shared_ptr<NSManagedObject> existingObject(const NSManagedObjectID& objectID);
    // The object for an ID when the context holds it; nothing otherwise.
    std::shared_ptr<NSManagedObject> registeredObject(const NSManagedObjectID& objectID) const;

    template <class T>
    std::vector<std::shared_ptr<T>> fetch(const NSFetchRequest<T>& request)
    {
        std::vector<std::shared_ptr<NSManagedObject>> objects = fetchObjects(request);
        if constexpr (std::is_same_v<T, NSManagedObject>) {
            return objects;
        } else {
            std::vector<std::shared_ptr<T>> typed;
            typed.reserve(objects.size());
            for (auto& object : objects)
                typed.push_back(castObject<T>(std::move(object)));
            return typed;
        }
    }
    // The values of the request's `propertiesToFetch` of each object it matches, in that order, read from
    // the store without making objects, as the platform's dictionary results are: unsaved changes do not
    // count, and a block predicate is refused. For reading many objects' few values fast.
    std::vector<std::vector<Value>> fetchValues(const NSFetchRequest<NSManagedObject>& request);
    // The same, handed to `body` in batches of up to `batchSize` objects' values as the store reads them,
    // so that work on one batch can go on while the next is read. `body` runs on the calling thread and
    // must not use the context.
    void fetchValues(const NSFetchRequest<NSManagedObject>& request, std::size_t batchSize,
                     const std::function<void(std::vector<std::vector<Value>>)>& body);
    // The same read by several connections of their own at once, each over a part of the objects: `body`
    // runs on several threads at once. A save by another process while they read may reach some parts
    // and not others. For reading a whole large table, unsorted.
    void fetchValuesConcurrently(const NSFetchRequest<NSManagedObject>& request, std::size_t batchSize,
                                 const std::function<void(std::vector<std::vector<Value>>)>& body);
    std::int64_t count(const NSFetchRequest<NSManagedObject>& request);
    // A number that changes whenever another process commits to the store, and only then: what the
    // contexts of this coordinator save leaves it. Tells a reader whether its copy of the store went stale.
    std::int64_t storeChangeCountByOthers();
    NSBatchDeleteResult execute(const NSBatchDeleteRequest& request);
    // Reads or forgets the store's history of changes (a store that tracks it).
    NSPersistentHistoryResult execute(const NSPersistentHistoryChangeRequest& request);
    // The token of the last change the store saved, from any context or process.
    NSPersistentHistoryToken currentPersistentHistoryToken();

    bool hasChanges() const { return !m_inserted.empty() || !m_updated.empty() || !m_deleted.empty(); }
    const std::vector<std::shared_ptr<NSManagedObject>>& insertedObjects() const { return m_inserted; }
    const std::vector<std::shared_ptr<NSManagedObject>>& updatedObjects() const { return m_updated; }
    const std::vector<std::shared_ptr<NSManagedObject>>& deletedObjects() const { return m_deleted; }
    std::vector<std::shared_ptr<NSManagedObject>> registeredObjects() const;

    // Writes every change in one transaction; on failure the store is untouched and the context keeps
    // its changes. Fails for a required value that is missing, a deletion a rule denies, a change to an
    // object another context or process deleted, a store locked past its time-out, or a store error.
    void save();
    // The same, with the rows the requests insert straight into the store first, in the same transaction:
    // all of it, or nothing. The requests' handlers run on this queue during the save and may change
    // objects of the context; those changes are saved too.
    void save(std::vector<NSBatchInsertRequest>& batchInserts);
    // Runs `body` (on the context's queue, as `save` is) inside one write transaction of the store: what it
    // fetches is what the store holds, and no other context or process can save between those reads and
    // the `save()` inside it, which joins the transaction. Other writers wait as they wait for a save. When
    // `body` throws, nothing it saved stays in the store; a save should therefore be its last step.
    void performInWriteTransaction(const std::function<void()>& body);
    // Undoes every unsaved change.
    void rollback();
    // Forgets every object and change.
    void reset();
    // Reads the object's values from the store again; with `mergeChanges` its unsaved changes stay on top,
    // without them they are dropped.
    void refresh(const std::shared_ptr<NSManagedObject>& object, bool mergeChanges);
    // Refreshes every object the context holds, keeping unsaved changes: the way to see what another
    // process saved.
    void refreshAllObjects();
    void processPendingChanges();
    // Brings the changes another context saved (its did-save notification) into this context.
    void mergeChanges(const Foundation::Notification& fromContextDidSave);
    // Brings changes known only by ID (a batch delete's result, under NSDeletedObjectsKey, or another
    // process's saves) into each context, on its queue.
    static void mergeChanges(const std::map<std::string, std::vector<NSManagedObjectID>>& fromRemoteContextSave,
                             const std::vector<std::shared_ptr<NSManagedObjectContext>>& into);

    ~NSManagedObjectContext() override;

protected:
    friend Foundation::Construct;
    explicit NSManagedObjectContext(ConcurrencyType concurrencyType);
    void initialize() override;

private:
    void fetchValues(const NSFetchRequest<NSManagedObject>& request, std::size_t batchSize, bool concurrently,
                     const std::function<void(std::vector<std::vector<Value>>)>& body);
    friend class NSManagedObject;
    friend class NSPersistentStoreCoordinator;
    struct Changes {
        std::vector<NSManagedObjectID> inserted;
        std::vector<NSManagedObjectID> updated;
        std::vector<NSManagedObjectID> deleted;
    };

    template <class T>
    static std::shared_ptr<T> castObject(std::shared_ptr<NSManagedObject> object)
    {
        if constexpr (std::is_same_v<T, NSManagedObject>) {
            return object;
        } else {
            auto typed = std::dynamic_pointer_cast<T>(object);
            if (!typed)
                wrongClass(*object, typeid(T).name());
            return typed;
        }
    }
    [[noreturn]] static void wrongClass(const NSManagedObject& object, const char* wantedClass);

    void runAndWait(const std::function<void()>& block);
    void insertBatch(SQLiteStore& store, NSBatchInsertRequest& request);
    std::vector<std::shared_ptr<NSManagedObject>> fetchObjects(const NSFetchRequest<NSManagedObject>& request);
    const NSEntityDescription& entityNamed(std::string_view name) const;
    NSPersistentStoreCoordinator& coordinator() const;
    bool hasPendingChanges(const NSEntityDescription& entity) const;
    std::shared_ptr<NSManagedObject> materialize(const NSEntityDescription& entity, std::int64_t primaryKey, std::vector<Value> values);
    // The object for an ID, read from the store when needed; nothing when the store has none.
    std::shared_ptr<NSManagedObject> objectIfExists(const NSManagedObjectID& objectID);
    void removePending(NSManagedObject& object);

    void objectDidChange(NSManagedObject& object);
    void announce(NSManagedObject& object, unsigned kind);
    void scheduleProcessingPendingChanges();
    void applyDeleteRules(const std::shared_ptr<NSManagedObject>& object);
    void validateForSave() const;
    void checkDenyRules() const;
    void forgetDeleted(const std::shared_ptr<NSManagedObject>& object);
    void mergeChanges(const Changes& changes);
    static Changes changes(const Foundation::Notification& notification);

    ConcurrencyType m_concurrencyType;
    std::weak_ptr<NSManagedObjectContext> m_self;
    std::shared_ptr<Foundation::DispatchQueue> m_queue;
    std::shared_ptr<NSPersistentStoreCoordinator> m_coordinator;
    std::optional<Foundation::String> m_name;
    bool m_automaticallyMerges = false;

    ObjectRegistry m_registered;
    std::vector<std::shared_ptr<NSManagedObject>> m_inserted;
    std::vector<std::shared_ptr<NSManagedObject>> m_updated;
    std::vector<std::shared_ptr<NSManagedObject>> m_deleted;
    std::unordered_map<std::int64_t, std::shared_ptr<NSManagedObject>> m_insertedByTemporaryKey;
    std::vector<std::shared_ptr<NSManagedObject>> m_unannounced[3];
    bool m_processingScheduled = false;
};

} // namespace CoreData
