#include "Shared/SyncedObject.hpp"

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NSKeyedUnarchiver.hpp"

namespace Shared {

using CoreData::NSAttributeType;
using CoreData::key;

void SyncedObject::addSyncAttributes(CoreData::NSEntityDescription& entity)
{
    entity.addAttribute({"recordName", NSAttributeType::string, false, Foundation::String(""), true});
    entity.addAttribute({"ckSystemFields", NSAttributeType::binaryData});
    entity.addAttribute({"isLocallyModified", NSAttributeType::boolean, false, false, true});
    entity.addAttribute({"isLocallyDeleted", NSAttributeType::boolean, false, false, true});
    entity.addAttribute({"modifiedAt", NSAttributeType::date});
}

Foundation::String SyncedObject::recordName() const
{
    return value<Foundation::String>("recordName").value_or("");
}

void SyncedObject::setRecordName(const Foundation::String& name)
{
    setValue(name, "recordName");
}

std::optional<Foundation::Data> SyncedObject::ckSystemFields() const
{
    return value<Foundation::Data>("ckSystemFields");
}

void SyncedObject::setCKSystemFields(const std::optional<Foundation::Data>& systemFields)
{
    setValue(systemFields, "ckSystemFields");
}

bool SyncedObject::isLocallyModified() const
{
    return value<bool>("isLocallyModified").value_or(false);
}

void SyncedObject::setIsLocallyModified(bool value)
{
    if (isLocallyModified() != value)
        setValue(value, "isLocallyModified");
}

bool SyncedObject::isLocallyDeleted() const
{
    return value<bool>("isLocallyDeleted").value_or(false);
}

std::optional<Foundation::Date> SyncedObject::modifiedAt() const
{
    return value<Foundation::Date>("modifiedAt");
}

void SyncedObject::markLocallyModified(Foundation::Date now)
{
    setIsLocallyModified(true);
    setValue(now, "modifiedAt");
}

bool SyncedObject::markLocallyDeleted(Foundation::Date now)
{
    auto context = managedObjectContext();
    if (!ckSystemFields()) {
        if (context)
            context->delete_(std::static_pointer_cast<CoreData::NSManagedObject>(shared_from_this()));
        return false;
    }
    clearForDeletion();
    setValue(true, "isLocallyDeleted");
    setIsLocallyModified(false);
    setValue(now, "modifiedAt");
    return true;
}

CloudKit::CKRecordID SyncedObject::ckRecordID(const CloudKit::CKRecordZoneID& zoneID) const
{
    return CloudKit::CKRecordID(recordName(), zoneID);
}

std::shared_ptr<CloudKit::CKRecord> SyncedObject::makeCKRecord(const CloudKit::CKRecordZoneID& zoneID) const
{
    if (auto systemFields = ckSystemFields()) {
        std::shared_ptr<CloudKit::CKRecord> record;
        Foundation::catchError([&] { record = Foundation::NSKeyedUnarchiver::unarchivedObject<CloudKit::CKRecord>(*systemFields); });
        // System fields of another zone (the zone was made anew) no longer describe the server's copy.
        if (record && record->recordID() == ckRecordID(zoneID) && record->recordType() == entity()->name())
            return record;
    }
    return Foundation::make<CloudKit::CKRecord>(entity()->name(), ckRecordID(zoneID));
}

void SyncedObject::takeSystemFields(const CloudKit::CKRecord& record)
{
    setCKSystemFields(record.archivedSystemFields());
}

void SyncedObject::copyAttributes(const std::vector<const char*>& keys, CloudKit::CKRecord& record) const
{
    for (const char* name : keys) {
        const auto& stored = primitiveValue(name);
        std::optional<CloudKit::CKRecordValue> field;
        if (const auto* text = stored.as<Foundation::String>())
            field = *text;
        else if (const auto* data = stored.as<Foundation::Data>())
            field = *data;
        else if (const auto* date = stored.as<Foundation::Date>())
            field = *date;
        else if (const auto* number = stored.as<std::int64_t>())
            field = *number;
        else if (const auto* flag = stored.as<bool>())
            field = *flag;
        record.setObject(std::move(field), name);
    }
}

void SyncedObject::takeAttributes(const std::vector<const char*>& keys, const CloudKit::CKRecord& record)
{
    for (const char* name : keys) {
        auto field = record.object(name);
        CoreData::Value stored;
        if (field) {
            switch (entity()->attribute(name)->attributeType()) {
            case NSAttributeType::string:
                stored = field->as<Foundation::String>();
                break;
            case NSAttributeType::binaryData:
                stored = field->as<Foundation::Data>();
                break;
            case NSAttributeType::date:
                stored = field->as<Foundation::Date>();
                break;
            case NSAttributeType::integer64:
                stored = field->as<std::int64_t>();
                break;
            case NSAttributeType::boolean:
                stored = field->as<bool>();
                break;
            default:
                break;
            }
        }
        // A required attribute keeps its value rather than take a field of the wrong kind.
        if (stored.isNil() && !entity()->attribute(name)->isOptional())
            continue;
        setValue(std::move(stored), name);
    }
}

CoreData::NSPredicate SyncedObject::notDeleted()
{
    return key("isLocallyDeleted") == false;
}

CoreData::NSPredicate SyncedObject::named(const std::vector<Foundation::String>& recordNames)
{
    return key("recordName").in(std::vector<CoreData::Value>(recordNames.begin(), recordNames.end()));
}

CoreData::NSFetchRequest<CoreData::NSManagedObject> SyncedObject::locallyModified(const Foundation::String& entityName, std::int64_t resultLimit)
{
    CoreData::NSFetchRequest<CoreData::NSManagedObject> request(entityName);
    request.setPredicate(key("isLocallyModified") == true && key("isLocallyDeleted") == false);
    request.setSortDescriptors({CoreData::NSSortDescriptor("modifiedAt")});
    request.setFetchLimit(resultLimit);
    return request;
}

CoreData::NSFetchRequest<CoreData::NSManagedObject> SyncedObject::locallyDeleted(const Foundation::String& entityName, std::int64_t resultLimit)
{
    CoreData::NSFetchRequest<CoreData::NSManagedObject> request(entityName);
    request.setPredicate(key("isLocallyDeleted") == true);
    request.setSortDescriptors({CoreData::NSSortDescriptor("modifiedAt")});
    request.setFetchLimit(resultLimit);
    return request;
}

CoreData::NSFetchRequest<CoreData::NSManagedObject> SyncedObject::withRecordNames(const Foundation::String& entityName,
                                                                                 const std::vector<Foundation::String>& recordNames)
{
    CoreData::NSFetchRequest<CoreData::NSManagedObject> request(entityName);
    request.setPredicate(named(recordNames));
    return request;
}

std::shared_ptr<CoreData::NSManagedObject> SyncedObject::fetchFirst(CoreData::NSManagedObjectContext& context,
                                                                    const CoreData::NSFetchRequest<CoreData::NSManagedObject>& request)
{
    auto found = context.fetch(request);
    return found.empty() ? nullptr : found.front();
}

std::shared_ptr<CoreData::NSManagedObject> SyncedObject::insert(CoreData::NSManagedObjectContext& context, const Foundation::String& entityName)
{
    return context.insertNewObject(entityName.view());
}

} // namespace Shared
