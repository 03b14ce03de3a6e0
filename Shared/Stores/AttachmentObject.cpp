#include "Shared/Stores/AttachmentObject.hpp"

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"

namespace Shared {

using CoreData::NSAttributeType;
using CoreData::key;

namespace {

constexpr const char* entryIDKey = "entryID";
constexpr const char* sealedDescriptionKey = "sealedDescription";

} // namespace

std::shared_ptr<CoreData::NSEntityDescription> AttachmentObject::entityDescription()
{
    auto entity = Foundation::make<CoreData::NSEntityDescription>(entityName());
    entity->setManagedObjectClass<AttachmentObject>();
    addSyncAttributes(*entity);
    entity->addAttribute({"entryID", NSAttributeType::string, true, {}, true});
    entity->addAttribute({"sealedDescription", NSAttributeType::binaryData});
    return entity;
}

Foundation::String AttachmentObject::entryID() const
{
    return value<Foundation::String>("entryID").value_or("");
}

void AttachmentObject::setEntryID(const Foundation::String& entryID)
{
    setValue(entryID, "entryID");
}

std::optional<Foundation::Data> AttachmentObject::sealedDescription() const
{
    return value<Foundation::Data>("sealedDescription");
}

void AttachmentObject::setSealedDescription(const Foundation::Data& sealed)
{
    setValue(sealed, "sealedDescription");
}

CoreData::NSFetchRequest<AttachmentObject> AttachmentObject::ofEntries(const std::vector<Foundation::String>& entryIDs)
{
    std::vector<CoreData::Value> ids(entryIDs.begin(), entryIDs.end());
    CoreData::NSFetchRequest<AttachmentObject> request;
    request.setPredicate(key("entryID").in(std::move(ids)) && key("isLocallyDeleted") == false);
    return request;
}

std::shared_ptr<CloudKit::CKRecord> AttachmentObject::ckRecordWithLocalModifications(const CloudKit::CKRecordZoneID& zoneID) const
{
    auto record = makeCKRecord(zoneID);
    record->setObject(entryID(), entryIDKey);
    if (auto sealed = sealedDescription())
        record->setObject(*sealed, sealedDescriptionKey);
    return record;
}

void AttachmentObject::processRemotelyModified(const std::shared_ptr<CloudKit::CKRecord>& ckRecord, CoreData::NSManagedObjectContext& context)
{
    const auto& record = *ckRecord;
    auto object = findOrInsert<AttachmentObject>(context, record.recordID().recordName());
    object->setSystemFields(record);
    // An attachment never changes: the account's copy is this one.
    if (object->isLocallyDeleted() || object->isLocallyModified())
        return;
    if (auto entryID = record.object(entryIDKey); entryID && entryID->as<Foundation::String>())
        object->setEntryID(*entryID->as<Foundation::String>());
    if (auto sealed = record.object(sealedDescriptionKey); sealed && sealed->as<Foundation::Data>())
        object->setSealedDescription(*sealed->as<Foundation::Data>());
}

void AttachmentObject::clearForDeletion()
{
    setValue(std::nullopt, "sealedDescription");
}

} // namespace Shared
