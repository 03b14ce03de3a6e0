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

void remove(Objects& objects, const NSManagedObject& object)
{
    std::erase_if(objects, [&](const auto& candidate) { return candidate.get() == &object; });
}

} // namespace

// --- Saving --------------------------------------------------------------------------------------

void NSManagedObjectContext::checkDenyRules() const
{
    for (const auto& object : m_deleted) {
        const auto& entity = *object->m_entity;
        for (const auto& toMany : entity.toManyRelationships()) {
            if (toMany.relationship->deleteRule() != NSDeleteRule::deny)
                continue;
            auto related = object->relatedObjects(toMany.relationship->name().view());
            if (std::any_of(related.begin(), related.end(), [](const auto& other) { return !other->m_isDeleted; })) {
                throw CoreDataError::make(CoreDataError::validationRelationshipDeniedDelete,
                                          object->m_objectID.description() + " cannot be deleted while its relationship "
                                              + toMany.relationship->name().utf8() + " leads to objects (its delete rule denies it).");
            }
        }
        for (const auto& property : entity.storedProperties()) {
            if (!property.relationship || property.relationship->deleteRule() != NSDeleteRule::deny)
                continue;
            auto related = object->relatedObject(property.name.view());
            if (related && !related->m_isDeleted) {
                throw CoreDataError::make(CoreDataError::validationRelationshipDeniedDelete,
                                          object->m_objectID.description() + " cannot be deleted while its relationship "
                                              + property.name.utf8() + " leads to an object (its delete rule denies it).");
            }
        }
    }
}

void NSManagedObjectContext::validateForSave() const
{
    for (const Objects* objects : {&m_inserted, &m_updated}) {
        for (const auto& object : *objects) {
            const auto& properties = object->m_entity->storedProperties();
            for (std::size_t i = 0; i < properties.size(); ++i) {
                const Value& value = object->m_values[i];
                std::string where = object->m_entity->name().utf8() + "." + properties[i].name.utf8();
                if (value.isNil() && !properties[i].isOptional) {
                    throw CoreDataError::make(CoreDataError::validationMissingMandatoryProperty,
                                              where + " is required, but " + object->m_objectID.description() + " has no value for it.");
                }
                const auto* real = value.as<double>();
                if (real && std::isnan(*real)) {
                    throw CoreDataError::make(CoreDataError::managedObjectValidation,
                                              where + " of " + object->m_objectID.description() + " is not a number, which the store cannot keep.");
                }
                const auto* id = value.as<NSManagedObjectID>();
                if (id && id->isTemporaryID() && !m_insertedByTemporaryKey.count(id->primaryKey())) {
                    throw CoreDataError::make(CoreDataError::managedObjectValidation,
                                              where + " of " + object->m_objectID.description() + " leads to an object that was never saved.");
                }
            }
        }
    }
}

void NSManagedObjectContext::insertBatch(SQLiteStore& store, NSBatchInsertRequest& request)
{
    const auto& entity = entityNamed(request.entityName().view());
    const auto& properties = entity.storedProperties();
    NSBatchInsertRequest::Object object(entity);
    request.m_insertedCount = 0;
    while (!request.m_handler(object)) {
        for (std::size_t i = 0; i < properties.size(); ++i) {
            const Value& value = object.m_values[i];
            if (value.isNil() && !properties[i].isOptional) {
                throw CoreDataError::make(CoreDataError::validationMissingMandatoryProperty,
                                          entity.name().utf8() + "." + properties[i].name.utf8() + " is required, but an object of a batch insert has no value for it.");
            }
            const auto* real = value.as<double>();
            if (real && std::isnan(*real)) {
                throw CoreDataError::make(CoreDataError::managedObjectValidation,
                                          entity.name().utf8() + "." + properties[i].name.utf8() + " of an object of a batch insert is not a number, which the store cannot keep.");
            }
        }
        store.insertRow(entity, object.m_values);
        ++request.m_insertedCount;
        object.reset();
    }
}

void NSManagedObjectContext::save()
{
    std::vector<NSBatchInsertRequest> none;
    save(none);
}

void NSManagedObjectContext::save(std::vector<NSBatchInsertRequest>& batchInserts)
{
    // Without batch inserts, nothing happens when nothing changed; with them, the handlers may still change
    // objects, so the changes are taken once they have run.
    if (batchInserts.empty()) {
        processPendingChanges();
        if (!hasChanges())
            return;
        checkDenyRules();
        validateForSave();
    }
    auto& store = coordinator().store();
    std::unordered_map<std::int64_t, std::int64_t> permanentKeys;
    auto resolved = [&](const Value& value) -> Value {
        const auto* id = value.as<NSManagedObjectID>();
        if (!id || !id->isTemporaryID())
            return value;
        return NSManagedObjectID(id->entityName(), permanentKeys.at(id->primaryKey()));
    };
    {
        SQLiteStore::Transaction transaction(store);
        if (!batchInserts.empty()) {
            for (auto& request : batchInserts)
                insertBatch(store, request);
            processPendingChanges();
            if (!hasChanges()) {
                transaction.commit();
                return;
            }
            checkDenyRules();
            validateForSave();
        }
        std::vector<std::pair<const NSManagedObject*, std::vector<std::pair<std::size_t, Value>>>> links;
        for (const auto& object : m_inserted) {
            std::vector<std::pair<std::size_t, Value>> objectLinks;
            for (std::size_t i = 0; i < object->m_values.size(); ++i) {
                const auto* id = object->m_values[i].as<NSManagedObjectID>();
                if (id && id->isTemporaryID())
                    objectLinks.emplace_back(i, object->m_values[i]);
            }
            // Values are copied only when links to other new objects must wait for their keys.
            std::int64_t key;
            if (objectLinks.empty()) {
                key = store.insertRow(*object->m_entity, object->m_values);
            } else {
                std::vector<Value> values = object->m_values;
                for (const auto& [index, link] : objectLinks)
                    values[index] = Value();
                key = store.insertRow(*object->m_entity, values);
            }
            permanentKeys[object->m_objectID.primaryKey()] = key;
            if (!objectLinks.empty())
                links.emplace_back(object.get(), std::move(objectLinks));
        }
        // Links among new objects can be written once every one of them has its key.
        for (auto& [object, objectLinks] : links) {
            for (auto& [index, value] : objectLinks)
                value = resolved(value);
            store.updateRow(*object->m_entity, permanentKeys.at(object->m_objectID.primaryKey()), objectLinks);
        }
        for (const auto& object : m_updated) {
            std::vector<std::pair<std::size_t, Value>> changes;
            for (const auto& [index, original] : object->m_originals)
                changes.emplace_back(index, resolved(object->m_values[index]));
            if (!store.updateRow(*object->m_entity, object->m_objectID.primaryKey(), changes)) {
                throw CoreDataError::make(CoreDataError::managedObjectMerge,
                                          object->m_objectID.description()
                                              + " was deleted from the store by another context or process, so its changes could not be saved.");
            }
        }
        for (const auto& object : m_deleted)
            store.deleteRow(*object->m_entity, object->m_objectID.primaryKey());
        transaction.commit();
    }

    Objects inserted = std::move(m_inserted);
    Objects updated = std::move(m_updated);
    Objects deleted = std::move(m_deleted);
    m_inserted.clear();
    m_updated.clear();
    m_deleted.clear();
    m_insertedByTemporaryKey.clear();
    Changes changes;
    for (const auto& object : inserted) {
        object->m_objectID = NSManagedObjectID(object->m_entity->name(), permanentKeys.at(object->m_objectID.primaryKey()));
        object->m_isInserted = false;
        m_registered.add(*object->m_entity, object->m_objectID.primaryKey(), object);
        changes.inserted.push_back(object->m_objectID);
    }
    for (const Objects* objects : {&inserted, &updated}) {
        for (const auto& object : *objects) {
            for (auto& value : object->m_values) {
                if (const auto* id = value.as<NSManagedObjectID>(); id && id->isTemporaryID())
                    value = resolved(value);
            }
            object->forgetChanges();
            object->m_isUpdated = false;
        }
    }
    for (const auto& object : updated)
        changes.updated.push_back(object->m_objectID);
    for (const auto& object : deleted) {
        m_registered.remove(*object->m_entity, object->m_objectID.primaryKey());
        object->m_context.reset();
        object->forgetChanges();
        changes.deleted.push_back(object->m_objectID);
    }
    Foundation::Notification::UserInfo userInfo {
        {NSInsertedObjectsKey, std::move(inserted)}, {NSUpdatedObjectsKey, std::move(updated)}, {NSDeletedObjectsKey, std::move(deleted)}};
    Foundation::NotificationCenter::defaultCenter()->post(didSaveObjectsNotification(), sharedSelf(this), std::move(userInfo));
    m_coordinator->contextDidSave(*this, [changes](NSManagedObjectContext& context) { context.mergeChanges(changes); });
}

void NSManagedObjectContext::performInWriteTransaction(const std::function<void()>& body)
{
    SQLiteStore::Transaction transaction(coordinator().store());
    body();
    transaction.commit();
}

void NSManagedObjectContext::rollback()
{
    for (const Objects* objects : {&m_updated, &m_deleted}) {
        for (const auto& object : *objects) {
            for (auto& [index, original] : object->m_originals)
                object->m_values[index] = std::move(original);
            object->forgetChanges();
            object->m_isUpdated = false;
            object->m_isDeleted = false;
        }
    }
    for (const auto& object : m_inserted) {
        object->m_isInserted = false;
        object->m_isDeleted = true;
        object->m_context.reset();
    }
    m_inserted.clear();
    m_updated.clear();
    m_deleted.clear();
    m_insertedByTemporaryKey.clear();
    for (auto& unannounced : m_unannounced) {
        for (const auto& object : unannounced)
            object->m_unannounced = 0;
        unannounced.clear();
    }
}

void NSManagedObjectContext::reset()
{
    rollback();
    for (const auto& object : registeredObjects())
        object->m_context.reset();
    m_registered.clear();
}

void NSManagedObjectContext::removePending(NSManagedObject& object)
{
    if (object.m_isUpdated)
        remove(m_updated, object);
    if (object.m_isDeleted)
        remove(m_deleted, object);
    object.m_isUpdated = false;
    object.forgetChanges();
}

void NSManagedObjectContext::forgetDeleted(const std::shared_ptr<NSManagedObject>& object)
{
    removePending(*object);
    object->m_isDeleted = true;
    m_registered.remove(*object->m_entity, object->m_objectID.primaryKey());
    object->m_context.reset();
}

void NSManagedObjectContext::refresh(const std::shared_ptr<NSManagedObject>& object, bool mergeChanges)
{
    if (!object || object->m_isInserted || object->m_context.lock().get() != this)
        return;
    auto rows = coordinator().store().rows(*object->m_entity, {object->m_objectID.primaryKey()});
    if (rows.empty()) {
        forgetDeleted(object);
        return;
    }
    if (!mergeChanges && object->m_isUpdated) {
        remove(m_updated, *object);
        object->m_isUpdated = false;
        object->forgetChanges();
    }
    object->takeStoredValues(std::move(rows.front().values));
}

void NSManagedObjectContext::refreshAllObjects()
{
    Changes changes;
    for (const auto& object : registeredObjects()) {
        if (!object->m_isInserted)
            changes.updated.push_back(object->m_objectID);
    }
    mergeChanges(changes);
}

} // namespace CoreData
