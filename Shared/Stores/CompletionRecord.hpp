#pragma once

#include "Shared/Stores/SyncedObject.hpp"

namespace Shared {

// A synced object that keeps a set of completed names (attribute and record field "completed"). Names
// only accumulate, so a fetched record is united with the local copy, which is pushed again when it
// knew names the account did not.
class CompletionRecord : public SyncedObject {
public:
    static void addCompletionAttributes(CoreData::NSEntityDescription& entity);

    std::vector<Foundation::String> completed() const;
    bool isCompleted(const Foundation::String& name) const;
    // Answers whether the name was new.
    bool complete(const Foundation::String& name, Foundation::Date now);

    std::shared_ptr<CloudKit::CKRecord> ckRecordWithLocalModifications(const CloudKit::CKRecordZoneID& zoneID) const override;

protected:
    friend Foundation::Construct;
    CompletionRecord() = default;
    template <class T>
    static void processRemotelyModified(const std::shared_ptr<CloudKit::CKRecord>& ckRecord, CoreData::NSManagedObjectContext& context)
    {
        findOrInsert<T>(context, recordName(*ckRecord))->unite(*ckRecord);
    }

private:
    static Foundation::String recordName(const CloudKit::CKRecord& record);
    void unite(const CloudKit::CKRecord& record);
    void setCompleted(const std::vector<Foundation::String>& names);
};

} // namespace Shared
