#include "Shared/Stores/MasterPassword.hpp"

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"

namespace Shared {

namespace {

const std::vector<const char*> recordKeys {"records", "changedAt"};

} // namespace

std::shared_ptr<CoreData::NSEntityDescription> MasterPassword::entityDescription()
{
    auto entity = Foundation::make<CoreData::NSEntityDescription>(entityName());
    entity->setManagedObjectClass<MasterPassword>();
    addSyncAttributes(*entity);
    entity->addAttribute({"records", CoreData::NSAttributeType::binaryData});
    entity->addAttribute({"changedAt", CoreData::NSAttributeType::date});
    return entity;
}

std::optional<Foundation::Data> MasterPassword::records() const
{
    return value<Foundation::Data>("records");
}

void MasterPassword::setRecords(const std::optional<Foundation::Data>& records)
{
    setValue(records, "records");
}

std::optional<Foundation::Date> MasterPassword::changedAt() const
{
    return value<Foundation::Date>("changedAt");
}

void MasterPassword::setChangedAt(const std::optional<Foundation::Date>& changedAt)
{
    setValue(changedAt, "changedAt");
}

std::shared_ptr<CloudKit::CKRecord> MasterPassword::ckRecordWithLocalModifications(const CloudKit::CKRecordZoneID& zoneID) const
{
    auto record = makeCKRecord(zoneID);
    copyAttributes(recordKeys, *record);
    return record;
}

void MasterPassword::processRemotelyModified(const std::shared_ptr<CloudKit::CKRecord>& ckRecord, CoreData::NSManagedObjectContext& context)
{
    const auto& record = *ckRecord;
    auto object = findOrInsert<MasterPassword>(context, record.recordID().recordName());
    object->setSystemFields(record);
    if (object->isLocallyDeleted())
        return;
    auto remoteChange = record.object("changedAt");
    auto remoteChangedAt = remoteChange ? remoteChange->as<Foundation::Date>() : std::nullopt;
    if (object->isLocallyModified() && object->changedAt() && (!remoteChangedAt || *remoteChangedAt < *object->changedAt()))
        return; // the local change is later: it is pushed over the account's copy
    object->takeAttributes(recordKeys, record);
    object->markUpToDate();
}

void MasterPassword::clearForDeletion()
{
    setRecords(std::nullopt);
}

} // namespace Shared
