#include "Shared/Syncwright/Syncable.hpp"

#include "Shared/Syncwright/CustomRecordZone.hpp"
#include "Shared/Syncwright/PushedModification.hpp"

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CoreData/NSEntityDescription.hpp"
#include "Platform/CoreData/NSPredicate.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NSKeyedUnarchiver.hpp"

#include <algorithm>

namespace Syncwright {

void Syncable::addAttributes(CoreData::NSEntityDescription& entity)
{
    using Type = CoreData::NSAttributeType;
    entity.addAttribute({ckSystemFieldsKey, Type::binaryData});
    entity.addAttribute({localChangeCountKey, Type::integer64, false, std::int64_t(0)});
    entity.addAttribute({pushedChangeCountKey, Type::integer64, false, std::int64_t(0)});
    entity.addAttribute({isLocallyDeletedKey, Type::boolean, false, false, true});
}

bool Syncable::isLocallyModified() const
{
    return value<std::int64_t>(localChangeCountKey).value_or(0) > value<std::int64_t>(pushedChangeCountKey).value_or(0);
}

void Syncable::markLocallyModified()
{
    // Counted rather than flagged: clearing the mark writes only the pushed count, so a change another
    // context saves meanwhile is never lost with it.
    setValue(value<std::int64_t>(localChangeCountKey).value_or(0) + 1, localChangeCountKey);
}

bool Syncable::isLocallyDeleted() const
{
    return value<bool>(isLocallyDeletedKey).value_or(false);
}

void Syncable::markLocallyDeleted()
{
    setValue(true, isLocallyDeletedKey);
}

void Syncable::clearLocallyDeleted()
{
    setValue(false, isLocallyDeletedKey);
}

bool Syncable::isChangedElsewhere(const CloudKit::CKRecord& record) const
{
    auto stored = systemFieldsRecord();
    return !stored || !record.recordChangeTag() || stored->recordChangeTag() != record.recordChangeTag();
}

bool Syncable::hasSystemFields() const
{
    return value<Foundation::Data>(ckSystemFieldsKey).has_value();
}

void Syncable::forgetSystemFields()
{
    setValue(std::nullopt, ckSystemFieldsKey);
}

CoreData::NSPredicate Syncable::locallyModifiedPredicate()
{
    return CoreData::key(localChangeCountKey) > CoreData::key(pushedChangeCountKey) && CoreData::key(isLocallyDeletedKey) == false;
}

CoreData::NSPredicate Syncable::locallyDeletedPredicate()
{
    return CoreData::key(isLocallyDeletedKey) == true;
}

CoreData::NSPredicate Syncable::recordNamePredicate(const std::vector<CloudKit::CKRecordID>& ckRecordIDs, const char* recordNameKey)
{
    std::vector<CoreData::Value> names;
    names.reserve(ckRecordIDs.size());
    for (const auto& id : ckRecordIDs)
        names.emplace_back(id.recordName());
    return CoreData::key(recordNameKey).in(std::move(names));
}

CloudKit::CKRecordID Syncable::storedOrNewCKRecordID(const Foundation::String& recordName) const
{
    if (auto record = systemFieldsRecord(); record && record->recordID().recordName() == recordName)
        return record->recordID();
    return CloudKit::CKRecordID(recordName, customRecordZoneID());
}

std::shared_ptr<CloudKit::CKRecord> Syncable::makeCKRecord(const CloudKit::CKRecord::RecordType& recordType,
                                                           const CloudKit::CKRecordID& recordID) const
{
    auto record = systemFieldsRecord();
    if (!record || record->recordID() != recordID || record->recordType() != recordType)
        record = Foundation::make<CloudKit::CKRecord>(recordType, recordID);
    record->setObject(value<std::int64_t>(localChangeCountKey).value_or(0), localChangeCountField);
    return record;
}

std::shared_ptr<CloudKit::CKRecord> Syncable::systemFieldsRecord() const
{
    auto archive = value<Foundation::Data>(ckSystemFieldsKey);
    if (!archive)
        return nullptr;
    try {
        return Foundation::NSKeyedUnarchiver::unarchivedObject<CloudKit::CKRecord>(*archive);
    } catch (const Foundation::Error&) {
        // Unreadable system fields only cost a conflict on the next push, which brings fresh ones.
        return nullptr;
    }
}

void Syncable::setSystemFields(const CloudKit::CKRecord& record)
{
    setArchivedSystemFields(record.archivedSystemFields());
}

void Syncable::setArchivedSystemFields(const Foundation::Data& archive)
{
    setValue(archive, ckSystemFieldsKey);
}

void Syncable::applyPushedModification(const PushedModification& pushedModification)
{
    if (const auto* saved = pushedModification.as<PushedModification::Saved>()) {
        setSystemFields(*saved->serverRecord);
        auto local = value<std::int64_t>(localChangeCountKey).value_or(0);
        auto pushed = value<std::int64_t>(pushedChangeCountKey).value_or(0);
        // A record made without the count held everything there was when it was made; lacking the
        // count, the save is taken to hold every change.
        auto held = local;
        if (auto carried = saved->serverRecord->object(localChangeCountField))
            held = std::min(local, carried->as<std::int64_t>().value_or(local));
        if (held > pushed)
            setValue(held, pushedChangeCountKey);
    } else if (const auto* conflicted = pushedModification.as<PushedModification::Conflicted>()) {
        if (conflicted->serverRecord)
            setSystemFields(*conflicted->serverRecord);
    } else if (const auto* failed = pushedModification.as<PushedModification::Failed>()) {
        if (failed->error && CloudKit::ckErrorCode(*failed->error) == CloudKit::CKError::Code::unknownItem)
            forgetSystemFields();
    }
}

} // namespace Syncwright
