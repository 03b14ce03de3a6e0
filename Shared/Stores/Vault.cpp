#include "Shared/Stores/Vault.hpp"

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"

namespace Shared {

namespace {

const std::vector<const char*> recordKeys {"inspectionKey"};

} // namespace

std::shared_ptr<CoreData::NSEntityDescription> Vault::entityDescription()
{
    auto entity = Foundation::make<CoreData::NSEntityDescription>(entityName());
    entity->setManagedObjectClass<Vault>();
    addSyncAttributes(*entity);
    entity->addAttribute({"inspectionKey", CoreData::NSAttributeType::binaryData});
    return entity;
}

std::optional<Foundation::Data> Vault::inspectionKey() const
{
    return value<Foundation::Data>("inspectionKey");
}

void Vault::setInspectionKey(const std::optional<Foundation::Data>& inspectionKey)
{
    setValue(inspectionKey, "inspectionKey");
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
    if (object->isLocallyDeleted() || object->isLocallyModified())
        return;
    object->takeAttributes(recordKeys, *ckRecord);
}

void Vault::clearForDeletion()
{
    setInspectionKey(std::nullopt);
}

} // namespace Shared
