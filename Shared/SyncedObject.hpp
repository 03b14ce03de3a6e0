#pragma once

#include "Platform/CoreData/NSFetchRequest.hpp"
#include "Platform/CoreData/NSManagedObject.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace CloudKit {
class CKRecord;
class CKRecordID;
class CKRecordZoneID;
} // namespace CloudKit

namespace CoreData {
class NSManagedObjectContext;
} // namespace CoreData

namespace Shared {

// What every synced object of the record store keeps beside its own values: the name of its record in
// the account, the service's system fields of the record last seen (so that a save can be compared with
// the server's copy), and whether a local change or deletion still waits to be pushed. A deleted object
// that the account knows stays as an empty marker until its deletion was pushed.
class SyncedObject : public CoreData::NSManagedObject {
public:
    // The attributes every synced entity has.
    static void addSyncAttributes(CoreData::NSEntityDescription& entity);

    Foundation::String recordName() const;
    void setRecordName(const Foundation::String& name);
    std::optional<Foundation::Data> ckSystemFields() const;
    void setCKSystemFields(const std::optional<Foundation::Data>& systemFields);
    bool isLocallyModified() const;
    void setIsLocallyModified(bool value);
    bool isLocallyDeleted() const;
    std::optional<Foundation::Date> modifiedAt() const;

    // A local change: to be pushed.
    void markLocallyModified(Foundation::Date now);
    // A local deletion: the object is deleted at once when the account never saw it, else it becomes a
    // marker whose values are cleared. Answers whether it stays as a marker.
    bool markLocallyDeleted(Foundation::Date now);

    CloudKit::CKRecordID ckRecordID(const CloudKit::CKRecordZoneID& zoneID) const;
    // A record of the object's entity under its name, carrying the system fields last seen.
    std::shared_ptr<CloudKit::CKRecord> makeCKRecord(const CloudKit::CKRecordZoneID& zoneID) const;
    // Takes the system fields of a record the service handed out (fetched or just saved).
    void takeSystemFields(const CloudKit::CKRecord& record);
    // Attributes that travel as record fields of the same names (texts, data, dates, numbers): into a
    // record, and out of one (a field the record lacks clears the attribute).
    void copyAttributes(const std::vector<const char*>& keys, CloudKit::CKRecord& record) const;
    void takeAttributes(const std::vector<const char*>& keys, const CloudKit::CKRecord& record);

    // Fetch requests for an entity: the objects whose change or deletion waits to be pushed (at most
    // `resultLimit`, 0 for all), and those with the given record names.
    static CoreData::NSFetchRequest<CoreData::NSManagedObject> locallyModified(const Foundation::String& entityName, std::int64_t resultLimit);
    static CoreData::NSFetchRequest<CoreData::NSManagedObject> locallyDeleted(const Foundation::String& entityName, std::int64_t resultLimit);
    static CoreData::NSFetchRequest<CoreData::NSManagedObject> withRecordNames(const Foundation::String& entityName,
                                                                              const std::vector<Foundation::String>& recordNames);

    // Every object of the entity that is not a deletion marker.
    template <class T>
    static CoreData::NSFetchRequest<T> existing()
    {
        CoreData::NSFetchRequest<T> request;
        request.setPredicate(notDeleted());
        return request;
    }
    // Those of them with these record names.
    template <class T>
    static CoreData::NSFetchRequest<T> existing(const std::vector<Foundation::String>& recordNames)
    {
        CoreData::NSFetchRequest<T> request;
        request.setPredicate(named(recordNames) && notDeleted());
        return request;
    }
    static CoreData::NSPredicate notDeleted();
    static CoreData::NSPredicate named(const std::vector<Foundation::String>& recordNames);

    // The object of that entity with the record's name, made when there is none.
    template <class T>
    static std::shared_ptr<T> findOrInsert(CoreData::NSManagedObjectContext& context, const Foundation::String& recordName)
    {
        auto request = withRecordNames(T::entityName(), {recordName});
        request.setFetchLimit(1);
        auto found = fetchFirst(context, request);
        if (found)
            return std::dynamic_pointer_cast<T>(found);
        auto object = std::dynamic_pointer_cast<T>(insert(context, T::entityName()));
        object->setRecordName(recordName);
        return object;
    }

protected:
    friend Foundation::Construct;
    SyncedObject() = default;
    static std::shared_ptr<CoreData::NSManagedObject> fetchFirst(CoreData::NSManagedObjectContext& context,
                                                                 const CoreData::NSFetchRequest<CoreData::NSManagedObject>& request);
    static std::shared_ptr<CoreData::NSManagedObject> insert(CoreData::NSManagedObjectContext& context, const Foundation::String& entityName);
    // The values of a deleted object that the marker does not keep.
    virtual void clearForDeletion() { }
};

} // namespace Shared
