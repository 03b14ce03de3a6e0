#include "Shared/Syncwright/SyncableType.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/CoreData/NSPredicate.hpp"

#include <algorithm>

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

void SyncableType::processRemotelyModified(const Records& ckRecords, CoreData::NSManagedObjectContext& context) const
{
    if (m_processAllRemotelyModified) {
        m_processAllRemotelyModified(ckRecords, context);
        return;
    }
    for (const auto& record : ckRecords)
        m_processRemotelyModified(record, context);
}

SyncableType::Records SyncableType::processRemotelyModified(const std::vector<SyncableType>& types, const Records& ckRecords,
                                                            CoreData::NSManagedObjectContext& context)
{
    Records unknown;
    for (std::size_t start = 0; start < ckRecords.size();) {
        const auto& recordType = ckRecords[start]->recordType();
        auto end = start + 1;
        while (end < ckRecords.size() && ckRecords[end]->recordType() == recordType)
            ++end;
        Records run(ckRecords.begin() + static_cast<std::ptrdiff_t>(start), ckRecords.begin() + static_cast<std::ptrdiff_t>(end));
        auto type = std::find_if(types.begin(), types.end(), [&](const SyncableType& each) { return each.entityName() == recordType; });
        if (type == types.end())
            unknown.insert(unknown.end(), run.begin(), run.end());
        else
            type->processRemotelyModified(run, context);
        start = end;
    }
    return unknown;
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
    std::set<std::string> presentNames;
    for (const auto& id : present)
        presentNames.insert(id.recordName().utf8());
    for (const auto& type : types) {
        FetchRequest request(type.entityName());
        auto once = CoreData::key(Syncable::ckSystemFieldsKey) != CoreData::Value();
        request.setPredicate(once);
        // Most objects are of records the zone holds: their names say so, and only the others are
        // opened. The store alone answers by names, so unsaved changes take the long way.
        if (type.m_recordNameKey && !context.hasChanges()) {
            FetchRequest names(type.entityName());
            names.setPredicate(once);
            names.setPropertiesToFetch({type.m_recordNameKey});
            std::vector<CoreData::Value> others;
            for (auto& row : context.fetchValues(names)) {
                const auto* name = row.front().as<Foundation::String>();
                if (!name || !presentNames.contains(name->utf8()))
                    others.push_back(std::move(row.front()));
            }
            if (others.empty())
                continue;
            request.setPredicate(once && CoreData::key(type.m_recordNameKey).in(std::move(others)));
        }
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
