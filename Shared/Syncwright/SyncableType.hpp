#pragma once

#include "Shared/Syncwright/Syncable.hpp"

#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

namespace Syncwright {

// The type-level requirements of one `Syncable` class as a value, so that a list of them can be walked
// in order: `SyncableType::of<Entry>()`.
class SyncableType {
public:
    using FetchRequest = CoreData::NSFetchRequest<CoreData::NSManagedObject>;
    using Records = std::vector<std::shared_ptr<CloudKit::CKRecord>>;

    template <SyncableClass T>
    static SyncableType of()
    {
        SyncableType type;
        type.m_entityName = T::entityName();
        if constexpr (requires { T::recordNameKey; })
            type.m_recordNameKey = T::recordNameKey;
        type.m_locallyDeleted = [](std::int64_t limit) -> FetchRequest { return T::locallyDeleted(limit); };
        type.m_locallyModified = [](std::int64_t limit) -> FetchRequest { return T::locallyModified(limit); };
        type.m_with = [](const std::vector<CloudKit::CKRecordID>& ids) -> FetchRequest { return T::with(ids); };
        type.m_process = [](const PushedModification& pushed, CoreData::NSManagedObjectContext& context) { T::process(pushed, context); };
        type.m_processRemotelyModified = [](const std::shared_ptr<CloudKit::CKRecord>& record, CoreData::NSManagedObjectContext& context) {
            T::processRemotelyModified(record, context);
        };
        // A class that takes many records at once (finding their objects in one fetch) is handed them so.
        if constexpr (requires(const Records& records, CoreData::NSManagedObjectContext& context) { T::processRemotelyModified(records, context); }) {
            type.m_processAllRemotelyModified = [](const Records& records, CoreData::NSManagedObjectContext& context) {
                T::processRemotelyModified(records, context);
            };
        }
        return type;
    }

    const Foundation::String& entityName() const { return m_entityName; }
    FetchRequest locallyDeleted(std::int64_t resultLimit) const { return m_locallyDeleted(resultLimit); }
    FetchRequest locallyModified(std::int64_t resultLimit) const { return m_locallyModified(resultLimit); }
    FetchRequest with(const std::vector<CloudKit::CKRecordID>& ckRecordIDs) const { return m_with(ckRecordIDs); }
    void process(const PushedModification& pushedModification, CoreData::NSManagedObjectContext& context) const
    {
        m_process(pushedModification, context);
    }
    void processRemotelyModified(const std::shared_ptr<CloudKit::CKRecord>& ckRecord, CoreData::NSManagedObjectContext& context) const
    {
        m_processRemotelyModified(ckRecord, context);
    }

    // Records of this type, in order.
    void processRemotelyModified(const Records& ckRecords, CoreData::NSManagedObjectContext& context) const;
    // Hands each record to the type it is of, in their order, consecutive ones of a type together;
    // answers the records of no type here.
    static Records processRemotelyModified(const std::vector<SyncableType>& types, const Records& ckRecords, CoreData::NSManagedObjectContext& context);

    // The objects a request of this type fetches, as syncables.
    static std::vector<std::shared_ptr<Syncable>> fetch(const FetchRequest& request, CoreData::NSManagedObjectContext& context);

    // After a fetch of the whole zone, which brought `present`: the records of objects here that were on
    // the server (they hold its system fields) and are gone from it, to be removed as deleted remotely.
    // An object changed here since stays and forgets its system fields, so that its push makes it anew:
    // an edit that meets a deletion is kept. Changes the context; the caller saves it.
    // Of records deleted remotely, those whose objects were not changed here since: an object changed
    // here stays and forgets its system fields, so that its push makes it anew. The caller saves.
    static std::vector<CloudKit::CKRecordID> unchangedHere(const std::vector<SyncableType>& types, const std::vector<CloudKit::CKRecordID>& deleted,
                                                           CoreData::NSManagedObjectContext& context);
    static std::vector<CloudKit::CKRecordID> absentFromZone(const std::vector<SyncableType>& types, const std::set<CloudKit::CKRecordID>& present,
                                                            CoreData::NSManagedObjectContext& context);

private:
    SyncableType() = default;

    Foundation::String m_entityName;
    // The attribute holding the record's name, when the class names it: then a whole zone's records are
    // told from those gone by their names, without opening each object's system fields.
    const char* m_recordNameKey = nullptr;
    FetchRequest (*m_locallyDeleted)(std::int64_t) = nullptr;
    FetchRequest (*m_locallyModified)(std::int64_t) = nullptr;
    FetchRequest (*m_with)(const std::vector<CloudKit::CKRecordID>&) = nullptr;
    void (*m_process)(const PushedModification&, CoreData::NSManagedObjectContext&) = nullptr;
    void (*m_processRemotelyModified)(const std::shared_ptr<CloudKit::CKRecord>&, CoreData::NSManagedObjectContext&) = nullptr;
    void (*m_processAllRemotelyModified)(const Records&, CoreData::NSManagedObjectContext&) = nullptr;
};

} // namespace Syncwright
