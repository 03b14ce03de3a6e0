#pragma once

#include "Shared/Stores/SyncedObject.hpp"

#include "Shared/Syncwright/PushedModification.hpp"

namespace Shared {

// The type-level side of `Syncwright::Syncable` for a synced class `T` of the record store (derived from
// `Base`), which adds only `entityName()` and `processRemotelyModified(ckRecord, in)`: the objects whose
// change or deletion waits to be pushed, those of given records, and what a push did. A record the
// account had changed meanwhile (a conflict) is taken in as a fetched one, which merges with the local
// change and keeps it marked.
template <class T, class Base = SyncedObject>
class SyncedEntity : public Base {
public:
    static CoreData::NSFetchRequest<CoreData::NSManagedObject> locallyDeleted(std::int64_t resultLimit)
    {
        return Syncwright::Syncable::locallyDeletedRequest<T>(resultLimit);
    }
    static CoreData::NSFetchRequest<CoreData::NSManagedObject> locallyModified(std::int64_t resultLimit)
    {
        return Syncwright::Syncable::locallyModifiedRequest<T>(resultLimit);
    }
    static CoreData::NSFetchRequest<CoreData::NSManagedObject> with(const std::vector<CloudKit::CKRecordID>& ckRecordIDs)
    {
        return Syncwright::Syncable::requestWith<T>(ckRecordIDs, SyncedObject::recordNameKey);
    }
    static void process(const Syncwright::PushedModification& pushedModification, CoreData::NSManagedObjectContext& context)
    {
        CoreData::NSFetchRequest<CoreData::NSManagedObject> request(T::entityName());
        request.setPredicate(SyncedObject::named({pushedModification.recordID().recordName()}));
        request.setFetchLimit(1);
        auto object = std::dynamic_pointer_cast<T>(SyncedObject::fetchFirst(context, request));
        if (!object)
            return;
        object->applyPushedModification(pushedModification);
        if (const auto* conflict = pushedModification.template as<Syncwright::PushedModification::Conflicted>(); conflict && conflict->serverRecord)
            T::processRemotelyModified(conflict->serverRecord, context);
    }

protected:
    SyncedEntity() = default;
};

} // namespace Shared
