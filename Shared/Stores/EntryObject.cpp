#include "Shared/Stores/EntryObject.hpp"

#include "Shared/Model/DispatchQueue.hpp"

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"

namespace Shared {

using CoreData::NSAttributeType;
using CoreData::key;

namespace {

constexpr const char* sealedEntryKey = "sealedEntry";
constexpr const char* vaultIDKey = "vaultID";

} // namespace

std::shared_ptr<CoreData::NSEntityDescription> EntryObject::entityDescription()
{
    auto entity = Foundation::make<CoreData::NSEntityDescription>(entityName());
    entity->setManagedObjectClass<EntryObject>();
    addSyncAttributes(*entity);
    entity->addAttribute({"vaultID", NSAttributeType::string});
    entity->addAttribute({"sealedEntry", NSAttributeType::binaryData});
    entity->addAttribute({"sealedIndex", NSAttributeType::binaryData});
    entity->addAttribute({"remoteSealedEntry", NSAttributeType::binaryData});
    entity->addAttribute({"remoteVaultID", NSAttributeType::string});
    return entity;
}

Foundation::String EntryObject::vaultID() const
{
    return value<Foundation::String>("vaultID").value_or("");
}

void EntryObject::setVaultID(const Foundation::String& vaultID)
{
    setValue(vaultID, "vaultID");
}

std::optional<Foundation::Data> EntryObject::sealedEntry() const
{
    return value<Foundation::Data>("sealedEntry");
}

std::optional<Foundation::Data> EntryObject::sealedIndex() const
{
    return value<Foundation::Data>("sealedIndex");
}

void EntryObject::setSealed(Foundation::Data entry, Foundation::Data index)
{
    setValue(std::move(entry), "sealedEntry");
    setValue(std::move(index), "sealedIndex");
}

void EntryObject::setSealedIndex(const Foundation::Data& index)
{
    setValue(index, "sealedIndex");
}

std::optional<Foundation::Data> EntryObject::remoteSealedEntry() const
{
    return value<Foundation::Data>("remoteSealedEntry");
}

void EntryObject::setRemoteSealedEntry(const std::optional<Foundation::Data>& sealed)
{
    setValue(sealed, "remoteSealedEntry");
    if (!sealed)
        setValue(std::nullopt, "remoteVaultID");
}

CoreData::NSFetchRequest<CoreData::NSManagedObject> EntryObject::locallyModified(std::int64_t resultLimit)
{
    auto request = SyncedEntity::locallyModified(resultLimit);
    request.setPredicate(*request.predicate() && key("remoteSealedEntry") == CoreData::Value());
    return request;
}

std::shared_ptr<CloudKit::CKRecord> EntryObject::ckRecordWithLocalModifications(const CloudKit::CKRecordZoneID& zoneID) const
{
    auto record = makeCKRecord(zoneID);
    if (auto sealed = sealedEntry())
        record->setObject(*sealed, sealedEntryKey);
    record->setObject(vaultID(), vaultIDKey);
    return record;
}

void EntryObject::processRemotelyModified(const std::shared_ptr<CloudKit::CKRecord>& ckRecord, CoreData::NSManagedObjectContext& context)
{
    takeRemote(*ckRecord, *findOrInsert<EntryObject>(context, ckRecord->recordID().recordName()), ckRecord->archivedSystemFields());
}

void EntryObject::processRemotelyModified(const std::vector<std::shared_ptr<CloudKit::CKRecord>>& ckRecords, CoreData::NSManagedObjectContext& context)
{
    std::vector<Foundation::String> names;
    names.reserve(ckRecords.size());
    for (const auto& record : ckRecords)
        names.push_back(record->recordID().recordName());
    auto objects = findOrInsert<EntryObject>(context, names);
    // The records' system fields are archived on every core; the objects change here.
    std::vector<Foundation::Data> archives(ckRecords.size());
    concurrentPerform(ckRecords.size(), [&](std::size_t index) { archives[index] = ckRecords[index]->archivedSystemFields(); });
    for (std::size_t index = 0; index < ckRecords.size(); ++index)
        takeRemote(*ckRecords[index], *objects[index], archives[index]);
}

void EntryObject::takeRemote(const CloudKit::CKRecord& record, EntryObject& object, const Foundation::Data& systemFields)
{
    auto sealed = record.object(sealedEntryKey);
    auto data = sealed ? sealed->as<Foundation::Data>() : std::nullopt;
    // A change made elsewhere to an item deleted here keeps the item, as the account now has it: nothing
    // typed is lost to a deletion. This installation's own save coming back leaves the deletion to go out.
    if (object.isLocallyDeleted() && data && object.isChangedElsewhere(record))
        object.clearLocallyDeleted();
    object.setArchivedSystemFields(systemFields);
    if (object.isLocallyDeleted() || !data)
        return;
    object.setRemoteSealedEntry(*data);
    if (auto vault = record.object(vaultIDKey); vault && vault->as<Foundation::String>())
        object.setValue(*vault->as<Foundation::String>(), "remoteVaultID");
    if (object.vaultID().isEmpty())
        object.setVaultID(object.value<Foundation::String>("remoteVaultID").value_or(""));
}

void EntryObject::clearForDeletion()
{
    setValue(std::nullopt, "sealedEntry");
    setValue(std::nullopt, "sealedIndex");
    setRemoteSealedEntry(std::nullopt);
}

} // namespace Shared
