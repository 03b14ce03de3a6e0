#pragma once

#include "Shared/Syncwright/Syncable.hpp"

#include "Platform/CoreData/NSPredicate.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace CoreData {
class NSManagedObjectContext;
} // namespace CoreData

namespace Shared {

// What every synced object of the record store keeps beside what `Syncwright::Syncable` keeps: the name
// of its record in the account and the date of its last local change. A local deletion of an object the
// account knows leaves an empty marker until the deletion was pushed; one the account never saw goes at
// once. `SyncedEntity<T>` adds the type-level side.
class SyncedObject : public Syncwright::Syncable {
public:
    static constexpr const char* recordNameKey = "recordName";

    // The attributes every synced entity of the record store has.
    static void addSyncAttributes(CoreData::NSEntityDescription& entity);

    Foundation::String recordName() const;
    void setRecordName(const Foundation::String& name);
    std::optional<Foundation::Date> modifiedAt() const;

    void markLocallyModified(Foundation::Date now);
    // Answers whether the object stays as a marker.
    bool markLocallyDeleted(Foundation::Date now);
    // The account holds everything this object has: nothing waits to be pushed.
    void markUpToDate();

    std::optional<CloudKit::CKRecordID> ckRecordID() const override;
    // A record of the object's entity under its name in the zone, with the system fields last seen.
    std::shared_ptr<CloudKit::CKRecord> makeCKRecord(const CloudKit::CKRecordZoneID& zoneID) const;
    using Syncable::setSystemFields;
    // Attributes that travel as record fields of the same names (texts, data, dates, numbers): into a
    // record, and out of one (a field the record lacks clears an optional attribute).
    void copyAttributes(const std::vector<const char*>& keys, CloudKit::CKRecord& record) const;
    void takeAttributes(const std::vector<const char*>& keys, const CloudKit::CKRecord& record);

    // Every object of the entity that is not a deletion marker, and those of them with these names.
    template <class T>
    static CoreData::NSFetchRequest<T> existing()
    {
        CoreData::NSFetchRequest<T> request;
        request.setPredicate(notDeleted());
        return request;
    }
    template <class T>
    static CoreData::NSFetchRequest<T> existing(const std::vector<Foundation::String>& recordNames)
    {
        CoreData::NSFetchRequest<T> request;
        request.setPredicate(named(recordNames) && notDeleted());
        return request;
    }
    static CoreData::NSPredicate notDeleted();
    static CoreData::NSPredicate named(const std::vector<Foundation::String>& recordNames);

    // The object of that entity with the record's name (a marker included), made when there is none.
    template <class T>
    static std::shared_ptr<T> findOrInsert(CoreData::NSManagedObjectContext& context, const Foundation::String& recordName)
    {
        CoreData::NSFetchRequest<CoreData::NSManagedObject> request(T::entityName());
        request.setPredicate(named({recordName}));
        request.setFetchLimit(1);
        if (auto found = fetchFirst(context, request))
            return std::dynamic_pointer_cast<T>(found);
        auto object = std::dynamic_pointer_cast<T>(insert(context, T::entityName()));
        object->setRecordName(recordName);
        return object;
    }
    // The same for many names, with one fetch for them all rather than one each: the objects in the
    // order of the names (a name given twice, the same object twice).
    template <class T>
    static std::vector<std::shared_ptr<T>> findOrInsert(CoreData::NSManagedObjectContext& context, const std::vector<Foundation::String>& recordNames)
    {
        std::vector<std::shared_ptr<T>> objects;
        objects.reserve(recordNames.size());
        for (auto& object : findOrInsertEach(context, T::entityName(), recordNames))
            objects.push_back(std::dynamic_pointer_cast<T>(std::move(object)));
        return objects;
    }

protected:
    friend Foundation::Construct;
    SyncedObject() = default;
    static std::shared_ptr<CoreData::NSManagedObject> fetchFirst(CoreData::NSManagedObjectContext& context,
                                                                 const CoreData::NSFetchRequest<CoreData::NSManagedObject>& request);
    static std::shared_ptr<CoreData::NSManagedObject> insert(CoreData::NSManagedObjectContext& context, const Foundation::String& entityName);
    static std::vector<std::shared_ptr<CoreData::NSManagedObject>> findOrInsertEach(CoreData::NSManagedObjectContext& context, const Foundation::String& entityName,
                                                                                    const std::vector<Foundation::String>& recordNames);
    // The values of a deleted object that the marker does not keep.
    virtual void clearForDeletion() { }
};

} // namespace Shared
