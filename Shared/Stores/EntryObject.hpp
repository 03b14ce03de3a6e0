#pragma once

#include "Shared/Stores/SyncedEntity.hpp"

#include <memory>
#include <vector>

namespace Shared {

// An item in the object store (entity "Entry"): the item sealed whole (`sealedEntry`) and its sealed
// summary for the index (`sealedIndex`), both under the vault key; the record name is the item's
// identifier. A record fetched from the account waits in `remoteSealedEntry` until the record store,
// with the vault unlocked, has merged it with the local copy; until then the item is not pushed.
class EntryObject : public SyncedEntity<EntryObject> {
public:
    static Foundation::String entityName() { return "Entry"; }
    static std::shared_ptr<CoreData::NSEntityDescription> entityDescription();

    Foundation::String id() const { return recordName(); }
    Foundation::String vaultID() const;
    void setVaultID(const Foundation::String& vaultID);
    std::optional<Foundation::Data> sealedEntry() const;
    std::optional<Foundation::Data> sealedIndex() const;
    void setSealed(Foundation::Data entry, Foundation::Data index);
    // Only the summary: made again from the item, it changes nothing the account holds.
    void setSealedIndex(const Foundation::Data& index);
    std::optional<Foundation::Data> remoteSealedEntry() const;
    void setRemoteSealedEntry(const std::optional<Foundation::Data>& sealed);

    // The items whose change waits to be pushed, at most `resultLimit` (0 for all); an item with a fetched
    // record still to merge waits for the merge.
    static CoreData::NSFetchRequest<CoreData::NSManagedObject> locallyModified(std::int64_t resultLimit);
    static void processRemotelyModified(const std::shared_ptr<CloudKit::CKRecord>& ckRecord, CoreData::NSManagedObjectContext& context);
    // The same for many records, their objects found in one fetch.
    static void processRemotelyModified(const std::vector<std::shared_ptr<CloudKit::CKRecord>>& ckRecords, CoreData::NSManagedObjectContext& context);

    // The record the account receives: the sealed item as it is here.
    std::shared_ptr<CloudKit::CKRecord> ckRecordWithLocalModifications(const CloudKit::CKRecordZoneID& zoneID) const override;

protected:
    friend Foundation::Construct;
    EntryObject() = default;
    void clearForDeletion() override;

private:
    static void takeRemote(const CloudKit::CKRecord& record, EntryObject& object, const Foundation::Data& systemFields);
};

} // namespace Shared
