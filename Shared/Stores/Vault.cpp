#include "Shared/Stores/Vault.hpp"

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"

namespace Shared {

namespace {

const std::vector<const char*> recordKeys {"inspectionKey", "inspectionKeyChangedAt"};

} // namespace

std::shared_ptr<CoreData::NSEntityDescription> Vault::entityDescription()
{
    auto entity = Foundation::make<CoreData::NSEntityDescription>(entityName());
    entity->setManagedObjectClass<Vault>();
    addSyncAttributes(*entity);
    entity->addAttribute({"inspectionKey", CoreData::NSAttributeType::binaryData});
    entity->addAttribute({"inspectionKeyChangedAt", CoreData::NSAttributeType::date});
    return entity;
}

std::optional<Foundation::Data> Vault::inspectionKey() const
{
    return value<Foundation::Data>("inspectionKey");
}

void Vault::setInspectionKey(const std::optional<Foundation::Data>& inspectionKey, Foundation::Date changedAt)
{
    setValue(inspectionKey, "inspectionKey");
    setValue(std::optional(changedAt), "inspectionKeyChangedAt");
}

std::optional<Foundation::Date> Vault::inspectionKeyChangedAt() const
{
    return value<Foundation::Date>("inspectionKeyChangedAt");
}

std::shared_ptr<CloudKit::CKRecord> Vault::ckRecordWithLocalModifications(const CloudKit::CKRecordZoneID& zoneID) const
{
    auto record = makeCKRecord(zoneID);
    copyAttributes(recordKeys, *record);
    return record;
}

void Vault::processRemotelyModified(const std::shared_ptr<CloudKit::CKRecord>& ckRecord, CoreData::NSManagedObjectContext& context)
{
    auto object = findOrInsert<Vault>(context, ckRecord->recordID().recordName());
    object->setSystemFields(*ckRecord);
    if (object->isLocallyDeleted())
        return;
    if (object->isLocallyModified()) {
        // A vault made here afresh (a new installation, cleared local data) has changed nothing of its
        // own: the account's password stays rather than being pushed away.
        auto remoteChange = ckRecord->object("inspectionKeyChangedAt");
        auto remoteChangedAt = remoteChange ? remoteChange->as<Foundation::Date>() : std::nullopt;
        auto localChangedAt = object->inspectionKeyChangedAt();
        if (localChangedAt && (!remoteChangedAt || *remoteChangedAt <= *localChangedAt))
            return;
    }
    object->takeAttributes(recordKeys, *ckRecord);
    object->markUpToDate();
}

void Vault::clearForDeletion()
{
    setValue(std::optional<Foundation::Data>(), "inspectionKey");
}

} // namespace Shared
