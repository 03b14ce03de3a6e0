#include "Shared/Stores/SyncedObject.hpp"

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace Shared {

using CoreData::NSAttributeType;
using CoreData::key;

void SyncedObject::addSyncAttributes(CoreData::NSEntityDescription& entity)
{
    Syncable::addAttributes(entity);
    // A deleted object's name stays in the store's history, so that other processes learn which it was.
    CoreData::NSAttributeDescription recordName(recordNameKey, NSAttributeType::string, false, Foundation::String(""), true);
    recordName.setPreservesValueInHistoryOnDeletion(true);
    entity.addAttribute(recordName);
    entity.addAttribute({"modifiedAt", NSAttributeType::date});
}

Foundation::String SyncedObject::recordName() const
{
    return value<Foundation::String>(recordNameKey).value_or("");
}

void SyncedObject::setRecordName(const Foundation::String& name)
{
    setValue(name, recordNameKey);
}

std::optional<Foundation::Date> SyncedObject::modifiedAt() const
{
    return value<Foundation::Date>("modifiedAt");
}

void SyncedObject::markLocallyModified(Foundation::Date now)
{
    Syncable::markLocallyModified();
    setValue(now, "modifiedAt");
}

bool SyncedObject::markLocallyDeleted(Foundation::Date now)
{
    if (!primitiveValue(ckSystemFieldsKey).as<Foundation::Data>()) {
        if (auto context = managedObjectContext())
            context->delete_(std::static_pointer_cast<CoreData::NSManagedObject>(shared_from_this()));
        return false;
    }
    clearForDeletion();
    Syncable::markLocallyDeleted();
    setValue(now, "modifiedAt");
    return true;
}

void SyncedObject::markUpToDate()
{
    auto local = value<std::int64_t>(localChangeCountKey).value_or(0);
    if (value<std::int64_t>(pushedChangeCountKey).value_or(0) < local)
        setValue(local, pushedChangeCountKey);
}

std::optional<CloudKit::CKRecordID> SyncedObject::ckRecordID() const
{
    auto name = recordName();
    if (name.isEmpty())
        return std::nullopt;
    return storedOrNewCKRecordID(name);
}

std::shared_ptr<CloudKit::CKRecord> SyncedObject::makeCKRecord(const CloudKit::CKRecordZoneID& zoneID) const
{
    return Syncable::makeCKRecord(entity()->name(), CloudKit::CKRecordID(recordName(), zoneID));
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
        const auto* attribute = entity()->attribute(name);
        CoreData::Value stored;
        if (field) {
            switch (attribute->attributeType()) {
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
        if (stored.isNil() && !attribute->isOptional())
            continue;
        setValue(std::move(stored), name);
    }
}

CoreData::NSPredicate SyncedObject::notDeleted()
{
    // Written so that no index serves it (the flag is never nil): with the flag's index, a fetch by
    // record names would read every live row instead of looking the names up.
    return key(isLocallyDeletedKey) != true;
}

CoreData::NSPredicate SyncedObject::named(const std::vector<Foundation::String>& recordNames)
{
    return key(recordNameKey).in(std::vector<CoreData::Value>(recordNames.begin(), recordNames.end()));
}

std::shared_ptr<CoreData::NSManagedObject> SyncedObject::fetchFirst(CoreData::NSManagedObjectContext& context,
                                                                    const CoreData::NSFetchRequest<CoreData::NSManagedObject>& request)
{
    auto found = context.fetch(request);
    return found.empty() ? nullptr : found.front();
}

std::vector<std::shared_ptr<CoreData::NSManagedObject>> SyncedObject::findOrInsertEach(CoreData::NSManagedObjectContext& context, const Foundation::String& entityName,
                                                                                       const std::vector<Foundation::String>& recordNames)
{
    // In parts, so that no statement holds more names than the store takes.
    constexpr std::size_t namesPerFetch = 500;
    std::unordered_map<std::string, std::shared_ptr<CoreData::NSManagedObject>> byName;
    for (std::size_t start = 0; start < recordNames.size(); start += namesPerFetch) {
        auto end = std::min(recordNames.size(), start + namesPerFetch);
        CoreData::NSFetchRequest<CoreData::NSManagedObject> request(entityName);
        request.setPredicate(named({recordNames.begin() + static_cast<std::ptrdiff_t>(start), recordNames.begin() + static_cast<std::ptrdiff_t>(end)}));
        for (auto& object : context.fetch(request))
            byName.try_emplace(std::static_pointer_cast<SyncedObject>(object)->recordName().utf8(), object);
    }
    std::vector<std::shared_ptr<CoreData::NSManagedObject>> objects;
    objects.reserve(recordNames.size());
    for (const auto& name : recordNames) {
        auto& object = byName[name.utf8()];
        if (!object) {
            object = insert(context, entityName);
            std::static_pointer_cast<SyncedObject>(object)->setRecordName(name);
        }
        objects.push_back(object);
    }
    return objects;
}

std::shared_ptr<CoreData::NSManagedObject> SyncedObject::insert(CoreData::NSManagedObjectContext& context, const Foundation::String& entityName)
{
    return context.insertNewObject(entityName.view());
}

} // namespace Shared
