#include "Platform/CoreData/NSManagedObjectContext.hpp"

#include "Platform/CoreData/BoundPredicate.hpp"
#include "Platform/CoreData/CoreDataError.hpp"
#include "Platform/CoreData/FetchOrder.hpp"
#include "Platform/CoreData/NSPersistentStoreCoordinator.hpp"
#include "Platform/CoreData/SQLiteStore.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Notification.Name.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"

#include <algorithm>
#include <any>
#include <cmath>
#include <limits>
#include <unordered_set>

namespace CoreData {

namespace {

using Objects = std::vector<std::shared_ptr<NSManagedObject>>;

// Which changes an object still has to be announced for, as bits of NSManagedObject::m_unannounced.
constexpr unsigned announceInserted = 1;
constexpr unsigned announceUpdated = 2;
constexpr unsigned announceDeleted = 4;

void remove(Objects& objects, const NSManagedObject& object)
{
    std::erase_if(objects, [&](const auto& candidate) { return candidate.get() == &object; });
}

std::shared_ptr<NSEntityDescription> shared(const NSEntityDescription& entity)
{
    return std::static_pointer_cast<NSEntityDescription>(const_cast<NSEntityDescription&>(entity).shared_from_this());
}

Foundation::NSError operationError(const std::string& description)
{
    return CoreDataError::make(CoreDataError::persistentStoreOperation, description);
}

} // namespace

NSManagedObjectContext::NSManagedObjectContext(ConcurrencyType concurrencyType)
    : m_concurrencyType(concurrencyType)
    , m_queue(concurrencyType == ConcurrencyType::mainQueueConcurrencyType ? Foundation::DispatchQueue::main()
                                                                          : Foundation::DispatchQueue::create("NSManagedObjectContext"))
{
}

void NSManagedObjectContext::initialize()
{
    NSObject::initialize();
    m_self = weakSelf(this);
}

NSManagedObjectContext::~NSManagedObjectContext() = default;

Foundation::Notification::Name NSManagedObjectContext::didSaveObjectsNotification()
{
    return Foundation::Notification::Name("NSManagedObjectContextDidSaveObjectsNotification");
}

Foundation::Notification::Name NSManagedObjectContext::didChangeObjectsNotification()
{
    return Foundation::Notification::Name("NSManagedObjectContextDidChangeObjectsNotification");
}

std::vector<std::shared_ptr<NSManagedObject>> NSManagedObjectContext::objects(const Foundation::Notification& notification, const char* key)
{
    if (!notification.userInfo())
        return {};
    auto found = notification.userInfo()->find(Foundation::String(key));
    if (found == notification.userInfo()->end())
        return {};
    const auto* objects = std::any_cast<Objects>(&found->second);
    return objects ? *objects : Objects {};
}

void NSManagedObjectContext::setPersistentStoreCoordinator(std::shared_ptr<NSPersistentStoreCoordinator> coordinator)
{
    m_coordinator = std::move(coordinator);
    if (m_coordinator)
        m_coordinator->addContext(sharedSelf(this));
}

void NSManagedObjectContext::perform(std::function<void()> block)
{
    auto self = sharedSelf(this);
    m_queue->async([self, block = std::move(block)] {
        block();
        self->processPendingChanges();
    });
}

void NSManagedObjectContext::runAndWait(const std::function<void()>& block)
{
    if (m_queue->isCurrent())
        block();
    else
        m_queue->sync(block);
}

[[noreturn]] void NSManagedObjectContext::wrongClass(const NSManagedObject& object, const char* wantedClass)
{
    Foundation::fatalError("An object of " + object.entity()->name().utf8() + " is a " + object.className() + ", not a "
                           + Foundation::demangledTypeName(wantedClass));
}

NSPersistentStoreCoordinator& NSManagedObjectContext::coordinator() const
{
    if (!m_coordinator)
        throw operationError("The context has no store coordinator.");
    return *m_coordinator;
}

const NSEntityDescription& NSManagedObjectContext::entityNamed(std::string_view name) const
{
    auto entity = coordinator().managedObjectModel()->entity(name);
    if (!entity)
        throw operationError("The model has no entity named " + std::string(name) + ".");
    return *entity;
}

// --- Objects -------------------------------------------------------------------------------------

std::shared_ptr<NSManagedObject> NSManagedObjectContext::insertNewObject(std::string_view entityName)
{
    Foundation::precondition(m_coordinator != nullptr, "A context needs a store coordinator before objects can be inserted");
    auto entity = m_coordinator->managedObjectModel()->entity(entityName);
    Foundation::precondition(entity != nullptr, "The model has no entity named " + std::string(entityName));
    auto object = entity->makeObject();
    object->m_entity = entity;
    object->m_context = m_self;
    object->m_objectID = NSManagedObjectID::makeTemporary(entity->name());
    object->m_values.reserve(entity->storedProperties().size());
    for (const auto& property : entity->storedProperties())
        object->m_values.push_back(property.defaultValue);
    object->m_isInserted = true;
    m_inserted.push_back(object);
    m_insertedByTemporaryKey.emplace(object->m_objectID.primaryKey(), object);
    announce(*object, announceInserted);
    object->awakeFromInsert();
    return object;
}

void NSManagedObjectContext::delete_(const std::shared_ptr<NSManagedObject>& object)
{
    Foundation::precondition(object && object->m_context.lock().get() == this, "A context can only delete its own objects");
    if (object->m_isDeleted)
        return;
    object->m_isDeleted = true;
    if (object->m_isInserted) {
        applyDeleteRules(object);
        object->m_isInserted = false;
        remove(m_inserted, *object);
        m_insertedByTemporaryKey.erase(object->m_objectID.primaryKey());
        object->m_context.reset();
        return;
    }
    if (object->m_isUpdated) {
        object->m_isUpdated = false;
        remove(m_updated, *object);
    }
    m_deleted.push_back(object);
    announce(*object, announceDeleted);
    applyDeleteRules(object);
}

void NSManagedObjectContext::applyDeleteRules(const std::shared_ptr<NSManagedObject>& object)
{
    const auto& entity = *object->m_entity;
    for (const auto& toMany : entity.toManyRelationships()) {
        auto rule = toMany.relationship->deleteRule();
        // A denied deletion is refused by the save; an object never saved cannot be denied.
        if (rule == NSDeleteRule::deny && !object->m_objectID.isTemporaryID())
            continue;
        for (const auto& related : object->relatedObjects(toMany.relationship->name().view())) {
            if (related->m_isDeleted)
                continue;
            if (rule == NSDeleteRule::cascade)
                delete_(related);
            else
                related->setStoredValue(toMany.inverseIndex, Value());
        }
    }
    for (const auto& property : entity.storedProperties()) {
        if (!property.relationship || property.relationship->deleteRule() != NSDeleteRule::cascade)
            continue;
        auto related = object->relatedObject(property.name.view());
        if (related && !related->m_isDeleted)
            delete_(related);
    }
}

std::shared_ptr<NSManagedObject> NSManagedObjectContext::registeredObject(const NSManagedObjectID& objectID) const
{
    if (objectID.isTemporaryID()) {
        auto found = m_insertedByTemporaryKey.find(objectID.primaryKey());
        return found == m_insertedByTemporaryKey.end() ? nullptr : found->second;
    }
    if (!m_coordinator)
        return nullptr;
    auto entity = m_coordinator->managedObjectModel()->entity(objectID.entityName().view());
    return entity ? m_registered.object(*entity, objectID.primaryKey()) : nullptr;
}

std::shared_ptr<NSManagedObject> NSManagedObjectContext::objectIfExists(const NSManagedObjectID& objectID)
{
    if (auto registered = registeredObject(objectID); registered || objectID.isTemporaryID())
        return registered;
    const auto& entity = entityNamed(objectID.entityName().view());
    auto rows = coordinator().store().rows(entity, {objectID.primaryKey()});
    if (rows.empty())
        return nullptr;
    return materialize(entity, rows.front().primaryKey, std::move(rows.front().values));
}

std::shared_ptr<NSManagedObject> NSManagedObjectContext::existingObject(const NSManagedObjectID& objectID)
{
    auto object = objectIfExists(objectID);
    if (!object) {
        throw CoreDataError::make(CoreDataError::managedObjectReferentialIntegrity,
                                  "The store holds no object " + objectID.description() + ".");
    }
    return object;
}

std::vector<std::shared_ptr<NSManagedObject>> NSManagedObjectContext::registeredObjects() const
{
    Objects objects = m_inserted;
    auto saved = m_registered.objects();
    objects.insert(objects.end(), saved.begin(), saved.end());
    return objects;
}

std::shared_ptr<NSManagedObject> NSManagedObjectContext::materialize(const NSEntityDescription& entity, std::int64_t primaryKey,
                                                                     std::vector<Value> values)
{
    if (auto existing = m_registered.object(entity, primaryKey)) {
        existing->takeStoredValues(std::move(values));
        return existing;
    }
    auto object = entity.makeObject();
    object->m_entity = shared(entity);
    object->m_context = m_self;
    object->m_objectID = NSManagedObjectID(entity.name(), primaryKey);
    object->m_values = std::move(values);
    m_registered.add(*object->m_entity, object->m_objectID.primaryKey(), object);
    object->awakeFromFetch();
    return object;
}

// --- Changes and their announcement --------------------------------------------------------------

void NSManagedObjectContext::objectDidChange(NSManagedObject& object)
{
    if (object.m_isInserted || object.m_isDeleted)
        return;
    if (!object.m_isUpdated) {
        object.m_isUpdated = true;
        m_updated.push_back(object.self());
    }
    announce(object, announceUpdated);
}

void NSManagedObjectContext::announce(NSManagedObject& object, unsigned kind)
{
    if (object.m_unannounced & kind)
        return;
    object.m_unannounced |= kind;
    m_unannounced[kind == announceInserted ? 0 : kind == announceUpdated ? 1 : 2].push_back(object.self());
    scheduleProcessingPendingChanges();
}

void NSManagedObjectContext::scheduleProcessingPendingChanges()
{
    if (m_concurrencyType != ConcurrencyType::mainQueueConcurrencyType || m_processingScheduled)
        return;
    m_processingScheduled = true;
    std::weak_ptr<NSManagedObjectContext> weak = m_self;
    m_queue->async([weak] {
        if (auto context = weak.lock()) {
            context->m_processingScheduled = false;
            context->processPendingChanges();
        }
    });
}

void NSManagedObjectContext::processPendingChanges()
{
    Objects announced[3];
    for (int kind = 0; kind < 3; ++kind) {
        for (auto& object : m_unannounced[kind]) {
            object->m_unannounced = 0;
            bool stillSo = kind == 0 ? object->m_isInserted : kind == 1 ? object->m_isUpdated : object->m_isDeleted;
            if (stillSo && object->m_context.lock().get() == this)
                announced[kind].push_back(std::move(object));
        }
        m_unannounced[kind].clear();
    }
    Foundation::Notification::UserInfo userInfo;
    const char* keys[3] = {NSInsertedObjectsKey, NSUpdatedObjectsKey, NSDeletedObjectsKey};
    for (int kind = 0; kind < 3; ++kind) {
        if (!announced[kind].empty())
            userInfo.emplace(keys[kind], std::move(announced[kind]));
    }
    if (!userInfo.empty())
        Foundation::NotificationCenter::defaultCenter()->post(didChangeObjectsNotification(), sharedSelf(this), std::move(userInfo));
}

// --- Fetching ------------------------------------------------------------------------------------

bool NSManagedObjectContext::hasPendingChanges(const NSEntityDescription& entity) const
{
    for (const Objects* objects : {&m_inserted, &m_updated, &m_deleted}) {
        if (std::any_of(objects->begin(), objects->end(), [&](const auto& object) { return object->m_entity.get() == &entity; }))
            return true;
    }
    return false;
}

std::vector<std::shared_ptr<NSManagedObject>> NSManagedObjectContext::fetchObjects(const NSFetchRequest<NSManagedObject>& request)
{
    const auto& entity = entityNamed(request.entityName().view());
    std::optional<BoundPredicate> predicate;
    if (request.predicate())
        predicate.emplace(*request.predicate(), entity);
    FetchOrder order(entity, request.sortDescriptors());
    bool inMemory = predicate && predicate->usesBlock();
    bool pending = request.includesPendingChanges() && hasPendingChanges(entity);
    SQLiteStore::Query query;
    if (predicate && !inMemory)
        query.where = predicate->sql();
    query.orderBy = order.sql();
    if (!inMemory && !pending) {
        // The common case: the store does all the work.
        query.limit = request.fetchLimit();
        query.offset = request.fetchOffset();
        auto rows = coordinator().store().fetchRows(entity, query);
        Objects objects;
        objects.reserve(rows.size());
        for (auto& row : rows)
            objects.push_back(materialize(entity, row.primaryKey, std::move(row.values)));
        return objects;
    }
    auto rows = coordinator().store().fetchRows(entity, query);
    Objects objects;
    std::unordered_set<const NSManagedObject*> found;
    for (auto& row : rows) {
        auto object = materialize(entity, row.primaryKey, std::move(row.values));
        bool matches = true;
        if (request.includesPendingChanges() && object->m_isDeleted)
            matches = false;
        else if (predicate && (inMemory || (pending && object->m_isUpdated)))
            matches = predicate->evaluate(*object);
        if (matches) {
            found.insert(object.get());
            objects.push_back(std::move(object));
        }
    }
    if (pending) {
        for (const Objects* changed : {&m_updated, &m_inserted}) {
            for (const auto& object : *changed) {
                if (object->m_entity.get() == &entity && !found.count(object.get()) && (!predicate || predicate->evaluate(*object)))
                    objects.push_back(object);
            }
        }
    }
    order.sort(objects);
    auto offset = static_cast<std::size_t>(std::max<std::int64_t>(0, request.fetchOffset()));
    objects.erase(objects.begin(), objects.begin() + static_cast<std::ptrdiff_t>(std::min(offset, objects.size())));
    if (request.fetchLimit() > 0 && objects.size() > static_cast<std::size_t>(request.fetchLimit()))
        objects.resize(static_cast<std::size_t>(request.fetchLimit()));
    return objects;
}

std::vector<std::vector<Value>> NSManagedObjectContext::fetchValues(const NSFetchRequest<NSManagedObject>& request)
{
    std::vector<std::vector<Value>> values;
    fetchValues(request, std::numeric_limits<std::size_t>::max(), [&](std::vector<std::vector<Value>> batch) { values = std::move(batch); });
    return values;
}

void NSManagedObjectContext::fetchValues(const NSFetchRequest<NSManagedObject>& request, std::size_t batchSize,
                                         const std::function<void(std::vector<std::vector<Value>>)>& body)
{
    fetchValues(request, batchSize, false, body);
}

void NSManagedObjectContext::fetchValuesConcurrently(const NSFetchRequest<NSManagedObject>& request, std::size_t batchSize,
                                                     const std::function<void(std::vector<std::vector<Value>>)>& body)
{
    fetchValues(request, batchSize, true, body);
}

void NSManagedObjectContext::fetchValues(const NSFetchRequest<NSManagedObject>& request, std::size_t batchSize, bool concurrently,
                                         const std::function<void(std::vector<std::vector<Value>>)>& body)
{
    const auto& entity = entityNamed(request.entityName().view());
    // Where each value asked for comes from: a column read, or (nothing) the object's ID.
    std::vector<std::size_t> columns;
    std::vector<std::optional<std::size_t>> sources;
    for (const auto& name : request.propertiesToFetch()) {
        if (name.view() == "objectID") {
            sources.emplace_back();
            continue;
        }
        auto index = entity.storedPropertyIndex(name.view());
        if (!index)
            throw operationError(entity.name().utf8() + " has no attribute or to-one relationship named " + name.utf8() + ".");
        sources.emplace_back(columns.size());
        columns.push_back(*index);
    }
    const bool withIDs = columns.size() != sources.size();
    // No columns would read them all: the IDs alone read the first.
    if (columns.empty() && withIDs && !entity.storedProperties().empty())
        columns.push_back(0);
    SQLiteStore::Query query;
    if (request.predicate()) {
        BoundPredicate predicate(*request.predicate(), entity);
        if (predicate.usesBlock())
            throw operationError("Fetching values cannot use a block predicate: the store evaluates its predicate itself.");
        query.where = predicate.sql();
    }
    query.orderBy = FetchOrder(entity, request.sortDescriptors()).sql();
    query.limit = request.fetchLimit();
    query.offset = request.fetchOffset();
    auto layOut = [&](std::vector<SQLiteStore::Row> rows) {
        std::vector<std::vector<Value>> values;
        values.reserve(rows.size());
        for (auto& row : rows) {
            if (!withIDs) {
                values.push_back(std::move(row.values));
                continue;
            }
            auto& laidOut = values.emplace_back();
            laidOut.reserve(sources.size());
            for (const auto& source : sources)
                laidOut.push_back(source ? std::move(row.values[*source]) : Value(NSManagedObjectID(entity.name(), row.primaryKey)));
        }
        body(std::move(values));
    };
    if (concurrently)
        coordinator().store().fetchRowsConcurrently(entity, query, columns, batchSize, layOut);
    else
        coordinator().store().fetchRows(entity, query, columns, batchSize, layOut);
}

std::int64_t NSManagedObjectContext::count(const NSFetchRequest<NSManagedObject>& request)
{
    const auto& entity = entityNamed(request.entityName().view());
    std::optional<BoundPredicate> predicate;
    if (request.predicate())
        predicate.emplace(*request.predicate(), entity);
    if ((predicate && predicate->usesBlock()) || (request.includesPendingChanges() && hasPendingChanges(entity)))
        return static_cast<std::int64_t>(fetchObjects(request).size());
    std::int64_t count = coordinator().store().count(entity, predicate ? predicate->sql() : SQLFragment {"1", {}});
    count = std::max<std::int64_t>(0, count - std::max<std::int64_t>(0, request.fetchOffset()));
    return request.fetchLimit() > 0 ? std::min(count, request.fetchLimit()) : count;
}

std::int64_t NSManagedObjectContext::storeChangeCountByOthers()
{
    return coordinator().store().changeCountByOthers();
}

NSPersistentHistoryResult NSManagedObjectContext::execute(const NSPersistentHistoryChangeRequest& request)
{
    auto& store = coordinator().store();
    if (request.kind() == NSPersistentHistoryChangeRequest::Kind::fetchAfter)
        return store.history(request.token());
    store.deleteHistory(request.token());
    return {{}, request.token()};
}

NSPersistentHistoryToken NSManagedObjectContext::currentPersistentHistoryToken()
{
    return coordinator().store().historyToken();
}

NSBatchDeleteResult NSManagedObjectContext::execute(const NSBatchDeleteRequest& request)
{
    const auto& fetchRequest = request.fetchRequest();
    const auto& entity = entityNamed(fetchRequest.entityName().view());
    SQLiteStore::Query query;
    if (fetchRequest.predicate()) {
        BoundPredicate predicate(*fetchRequest.predicate(), entity);
        if (predicate.usesBlock())
            throw operationError("A batch delete cannot use a block predicate: the store evaluates its predicate itself.");
        query.where = predicate.sql();
    }
    if (!fetchRequest.sortDescriptors().empty())
        query.orderBy = FetchOrder(entity, fetchRequest.sortDescriptors()).sql();
    query.limit = fetchRequest.fetchLimit();
    query.offset = fetchRequest.fetchOffset();
    auto deleted = coordinator().store().batchDelete(entity, query);
    std::int64_t count = 0;
    for (const auto& id : deleted) {
        if (id.entityName() == entity.name())
            ++count;
        if (auto object = registeredObject(id))
            forgetDeleted(object);
    }
    return NSBatchDeleteResult(request.resultType(), count, std::move(deleted));
}

// --- Merging -------------------------------------------------------------------------------------

NSManagedObjectContext::Changes NSManagedObjectContext::changes(const Foundation::Notification& notification)
{
    Changes changes;
    auto ids = [&](const char* key) {
        std::vector<NSManagedObjectID> result;
        for (const auto& object : objects(notification, key))
            result.push_back(object->objectID());
        return result;
    };
    changes.inserted = ids(NSInsertedObjectsKey);
    changes.updated = ids(NSUpdatedObjectsKey);
    changes.deleted = ids(NSDeletedObjectsKey);
    return changes;
}

void NSManagedObjectContext::mergeChanges(const Foundation::Notification& fromContextDidSave)
{
    mergeChanges(changes(fromContextDidSave));
}

void NSManagedObjectContext::mergeChanges(const std::map<std::string, std::vector<NSManagedObjectID>>& fromRemoteContextSave,
                                          const std::vector<std::shared_ptr<NSManagedObjectContext>>& into)
{
    Changes changes;
    auto ids = [&](const char* key) {
        auto found = fromRemoteContextSave.find(key);
        return found == fromRemoteContextSave.end() ? std::vector<NSManagedObjectID> {} : found->second;
    };
    changes.inserted = ids(NSInsertedObjectsKey);
    changes.updated = ids(NSUpdatedObjectsKey);
    changes.deleted = ids(NSDeletedObjectsKey);
    for (const auto& context : into)
        context->performAndWait([&] { context->mergeChanges(changes); });
}

void NSManagedObjectContext::mergeChanges(const Changes& changes)
{
    if (!m_coordinator)
        return;
    Objects inserted;
    Objects refreshed;
    Objects deleted;
    for (const auto& id : changes.deleted) {
        if (auto object = registeredObject(id); object && !id.isTemporaryID()) {
            forgetDeleted(object);
            deleted.push_back(std::move(object));
        }
    }
    // Rows are read per entity, many at a time.
    auto byEntity = [&](const std::vector<NSManagedObjectID>& ids, bool registeredOnly) {
        std::unordered_map<const NSEntityDescription*, std::vector<std::int64_t>> keys;
        for (const auto& id : ids) {
            auto entity = m_coordinator->managedObjectModel()->entity(id.entityName().view());
            if (!entity || id.isTemporaryID() || (registeredOnly && !m_registered.object(*entity, id.primaryKey())))
                continue;
            keys[entity.get()].push_back(id.primaryKey());
        }
        return keys;
    };
    for (auto& [entity, keys] : byEntity(changes.updated, true)) {
        std::unordered_set<std::int64_t> missing(keys.begin(), keys.end());
        for (auto& row : coordinator().store().rows(*entity, keys)) {
            missing.erase(row.primaryKey);
            auto object = m_registered.object(*entity, row.primaryKey);
            object->takeStoredValues(std::move(row.values));
            refreshed.push_back(std::move(object));
        }
        for (auto key : missing) {
            if (auto object = m_registered.object(*entity, key)) {
                forgetDeleted(object);
                deleted.push_back(std::move(object));
            }
        }
    }
    for (auto& [entity, keys] : byEntity(changes.inserted, false)) {
        for (auto& row : coordinator().store().rows(*entity, keys))
            inserted.push_back(materialize(*entity, row.primaryKey, std::move(row.values)));
    }
    Foundation::Notification::UserInfo userInfo;
    if (!inserted.empty())
        userInfo.emplace(NSInsertedObjectsKey, std::move(inserted));
    if (!refreshed.empty())
        userInfo.emplace(NSRefreshedObjectsKey, std::move(refreshed));
    if (!deleted.empty())
        userInfo.emplace(NSDeletedObjectsKey, std::move(deleted));
    if (!userInfo.empty())
        Foundation::NotificationCenter::defaultCenter()->post(didChangeObjectsNotification(), sharedSelf(this), std::move(userInfo));
}

} // namespace CoreData
