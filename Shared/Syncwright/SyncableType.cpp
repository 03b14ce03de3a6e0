#include "Shared/Syncwright/SyncableType.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/CoreData/NSPredicate.hpp"

namespace Syncwright {

std::vector<std::shared_ptr<Syncable>> SyncableType::fetch(const FetchRequest& request, CoreData::NSManagedObjectContext& context)
{
    std::vector<std::shared_ptr<Syncable>> syncables;
    for (auto& object : context.fetch(request)) {
        if (auto syncable = std::dynamic_pointer_cast<Syncable>(object))
            syncables.push_back(std::move(syncable));
    }
    return syncables;
}

std::vector<CloudKit::CKRecordID> SyncableType::unchangedHere(const std::vector<SyncableType>& types, const std::vector<CloudKit::CKRecordID>& deleted,
                                                              CoreData::NSManagedObjectContext& context)
{
    std::set<CloudKit::CKRecordID> kept;
    for (const auto& type : types) {
        for (const auto& object : fetch(type.with(deleted), context)) {
            if (object->isLocallyModified() && !object->isLocallyDeleted()) {
                object->forgetSystemFields();
                if (auto id = object->ckRecordID())
                    kept.insert(*id);
            }
        }
    }
    std::vector<CloudKit::CKRecordID> unchanged;
    for (const auto& id : deleted) {
        if (!kept.contains(id))
            unchanged.push_back(id);
    }
    return unchanged;
}

std::vector<CloudKit::CKRecordID> SyncableType::absentFromZone(const std::vector<SyncableType>& types, const std::set<CloudKit::CKRecordID>& present,
                                                               CoreData::NSManagedObjectContext& context)
{
    std::vector<CloudKit::CKRecordID> absent;
    for (const auto& type : types) {
        FetchRequest request(type.entityName());
        request.setPredicate(CoreData::key(Syncable::ckSystemFieldsKey) != CoreData::Value());
        for (const auto& object : fetch(request, context)) {
            auto id = object->ckRecordID();
            if (!id || present.contains(*id))
                continue;
            if (object->isLocallyModified() && !object->isLocallyDeleted())
                object->forgetSystemFields();
            else
                absent.push_back(*id);
        }
    }
    return absent;
}

} // namespace Syncwright
