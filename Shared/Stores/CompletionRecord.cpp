#include "Shared/Stores/CompletionRecord.hpp"

#include "Platform/CloudKit/CKRecord.hpp"

#include <algorithm>

namespace Shared {

namespace {

constexpr const char* completedKey = "completed";

std::vector<Foundation::String> names(const CloudKit::CKRecord& record)
{
    std::vector<Foundation::String> result;
    auto field = record.object(completedKey);
    if (!field || !field->list())
        return result;
    for (const auto& value : *field->list()) {
        if (auto name = value.as<Foundation::String>())
            result.push_back(*name);
    }
    return result;
}

} // namespace

void CompletionRecord::addCompletionAttributes(CoreData::NSEntityDescription& entity)
{
    addSyncAttributes(entity);
    entity.addAttribute({completedKey, CoreData::NSAttributeType::string, false, Foundation::String("")});
}

std::vector<Foundation::String> CompletionRecord::completed() const
{
    auto joined = value<Foundation::String>(completedKey).value_or("");
    std::vector<Foundation::String> result;
    for (auto& name : joined.components("\n")) {
        if (!name.isEmpty())
            result.push_back(std::move(name));
    }
    return result;
}

bool CompletionRecord::isCompleted(const Foundation::String& name) const
{
    auto all = completed();
    return std::find(all.begin(), all.end(), name) != all.end();
}

void CompletionRecord::setCompleted(const std::vector<Foundation::String>& names)
{
    Foundation::String joined;
    for (const auto& name : names)
        joined += (joined.isEmpty() ? "" : "\n") + name;
    setValue(joined, completedKey);
}

bool CompletionRecord::complete(const Foundation::String& name, Foundation::Date now)
{
    auto all = completed();
    if (name.isEmpty() || name.contains("\n") || std::find(all.begin(), all.end(), name) != all.end())
        return false;
    all.push_back(name);
    setCompleted(all);
    markLocallyModified(now);
    return true;
}

std::shared_ptr<CloudKit::CKRecord> CompletionRecord::ckRecordWithLocalModifications(const CloudKit::CKRecordZoneID& zoneID) const
{
    auto record = makeCKRecord(zoneID);
    CloudKit::CKRecordValue::List list;
    for (const auto& name : completed())
        list.emplace_back(name);
    record->setObject(CloudKit::CKRecordValue(std::move(list)), completedKey);
    return record;
}

Foundation::String CompletionRecord::recordName(const CloudKit::CKRecord& record)
{
    return record.recordID().recordName();
}

void CompletionRecord::unite(const CloudKit::CKRecord& record)
{
    setSystemFields(record);
    if (isLocallyDeleted())
        return;
    auto remote = names(record);
    auto all = remote;
    for (const auto& name : completed()) {
        if (std::find(all.begin(), all.end(), name) == all.end())
            all.push_back(name);
    }
    if (all.size() != remote.size()) {
        // Names the account lacks go back to it.
        if (!isLocallyModified())
            markLocallyModified(Foundation::Date::now());
    } else {
        markUpToDate();
    }
    if (all != completed())
        setCompleted(all);
}

} // namespace Shared
