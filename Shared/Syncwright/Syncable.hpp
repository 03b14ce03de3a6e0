#pragma once

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CoreData/NSFetchRequest.hpp"
#include "Platform/CoreData/NSManagedObject.hpp"

#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace CoreData {
class NSEntityDescription;
class NSManagedObjectContext;
}

namespace Syncwright {

class PushedModification;

// A managed object whose changes sync through the CloudKit remote as one record each.
//
// Every syncable entity has the attributes `addAttributes` adds: the record's system fields as the
// server last gave them, and the two marks. The "locally modified" mark is set by every local change
// (`markLocallyModified`) and cleared only once the server holds that change: a change made while its
// record is being pushed keeps the mark, so it goes out with the next push. The "locally deleted" mark
// keeps a deleted object until its deletion has been pushed.
//
// A conforming class `T` also answers, at type level (see `SyncableClass`):
//   static Foundation::String entityName();                       the entity's name, also the record type
//   static NSFetchRequest<T> locallyDeleted(std::int64_t resultLimit);    at most that many marked deleted
//   static NSFetchRequest<T> locallyModified(std::int64_t resultLimit);   ... marked modified, not deleted
//   static NSFetchRequest<T> with(const std::vector<CKRecordID>& ckRecordIDs);   the objects of those records
//   static void process(const PushedModification&, NSManagedObjectContext& in);   throws
//   static void processRemotelyModified(const std::shared_ptr<CKRecord>& ckRecord, NSManagedObjectContext& in);   throws
// `processRemotelyModified` makes or updates the object from a record another device (or this one)
// saved; when the object is itself locally modified, it merges instead of overwriting and keeps the
// mark. Everything runs on the context's queue.
class Syncable : public CoreData::NSManagedObject {
public:
    static constexpr const char* ckSystemFieldsKey = "ckSystemFields";
    static constexpr const char* localChangeCountKey = "localChangeCount";
    static constexpr const char* pushedChangeCountKey = "pushedChangeCount";
    static constexpr const char* isLocallyDeletedKey = "isLocallyDeleted";
    // The record field in which a record this installation pushes carries its local change count, so
    // that the server's answer tells which change it holds.
    static constexpr const char* localChangeCountField = "syncwrightLocalChangeCount";

    // Adds the attributes above to an entity of a model that is still being built.
    static void addAttributes(CoreData::NSEntityDescription& entity);

    bool isLocallyModified() const;
    void markLocallyModified();
    bool isLocallyDeleted() const;
    void markLocallyDeleted();
    // An edit made after a deletion here reached the account: the object lives again.
    void clearLocallyDeleted();
    // Whether a fetched record is a change another installation made, not this one's own save coming back.
    bool isChangedElsewhere(const CloudKit::CKRecord& record) const;
    bool hasSystemFields() const;
    // The record is gone from the server: the next push makes it anew.
    void forgetSystemFields();

    static CoreData::NSPredicate locallyModifiedPredicate();
    static CoreData::NSPredicate locallyDeletedPredicate();
    // The common forms of the type-level fetches; `recordNameKey` is the attribute that holds the
    // object's record name.
    template <CoreData::NamesItsEntity T>
    static CoreData::NSFetchRequest<T> locallyModifiedRequest(std::int64_t resultLimit)
    {
        return request<T>(locallyModifiedPredicate(), resultLimit);
    }
    template <CoreData::NamesItsEntity T>
    static CoreData::NSFetchRequest<T> locallyDeletedRequest(std::int64_t resultLimit)
    {
        return request<T>(locallyDeletedPredicate(), resultLimit);
    }
    template <CoreData::NamesItsEntity T>
    static CoreData::NSFetchRequest<T> requestWith(const std::vector<CloudKit::CKRecordID>& ckRecordIDs, const char* recordNameKey)
    {
        return request<T>(recordNamePredicate(ckRecordIDs, recordNameKey), 0);
    }

    // The record this object is on the server; nothing for an object that has none.
    virtual std::optional<CloudKit::CKRecordID> ckRecordID() const = 0;
    // The object's record in the zone, with the system fields the server last gave and every field the
    // object syncs set (so that they all count as changed). Throws when the record cannot be made.
    virtual std::shared_ptr<CloudKit::CKRecord> ckRecordWithLocalModifications(const CloudKit::CKRecordZoneID& zoneID) const = 0;

protected:
    Syncable() = default;

    // For conformers: the record ID of the stored system fields, else `recordName` in the custom zone.
    CloudKit::CKRecordID storedOrNewCKRecordID(const Foundation::String& recordName) const;
    // A record to fill: made from the stored system fields when they are of this ID, else new. It
    // carries the local change count.
    std::shared_ptr<CloudKit::CKRecord> makeCKRecord(const CloudKit::CKRecord::RecordType& recordType, const CloudKit::CKRecordID& recordID) const;
    // The system fields as last stored: a record without fields, or nothing.
    std::shared_ptr<CloudKit::CKRecord> systemFieldsRecord() const;
    void setSystemFields(const CloudKit::CKRecord& record);
    // The same with the record's `archivedSystemFields()` made beforehand (on another thread).
    void setArchivedSystemFields(const Foundation::Data& archive);
    // What every pushed modification does to the system fields and marks: a save takes the server's
    // system fields and clears the "locally modified" mark up to the change it held; a conflict takes
    // the server's system fields (the conformer merges the fields); a record the server no longer has
    // loses its system fields, so that the next push makes it anew.
    void applyPushedModification(const PushedModification& pushedModification);

private:
    template <class T>
    static CoreData::NSFetchRequest<T> request(CoreData::NSPredicate predicate, std::int64_t limit)
    {
        CoreData::NSFetchRequest<T> request;
        request.setPredicate(std::move(predicate));
        request.setFetchLimit(limit);
        return request;
    }
    static CoreData::NSPredicate recordNamePredicate(const std::vector<CloudKit::CKRecordID>& ckRecordIDs, const char* recordNameKey);
};

// The type-level side of `Syncable` (see there).
template <class T>
concept SyncableClass = std::derived_from<T, Syncable> && CoreData::NamesItsEntity<T>
    && requires(std::int64_t limit, const std::vector<CloudKit::CKRecordID>& ids, const PushedModification& pushed,
                const std::shared_ptr<CloudKit::CKRecord>& record, CoreData::NSManagedObjectContext& context) {
           { T::locallyDeleted(limit) } -> std::convertible_to<CoreData::NSFetchRequest<CoreData::NSManagedObject>>;
           { T::locallyModified(limit) } -> std::convertible_to<CoreData::NSFetchRequest<CoreData::NSManagedObject>>;
           { T::with(ids) } -> std::convertible_to<CoreData::NSFetchRequest<CoreData::NSManagedObject>>;
           T::process(pushed, context);
           T::processRemotelyModified(record, context);
       };

} // namespace Syncwright
