#pragma once

#include "Shared/SyncedObject.hpp"

namespace Shared {

// An item in the object store (entity "Entry"): the item sealed whole (`sealedEntry`) and its sealed
// summary for the index (`sealedIndex`), both under the vault key; the record name is the item's
// identifier. A record fetched from the account waits in `remoteSealedEntry` until the record store,
// with the vault unlocked, has merged it with the local copy; until then the item is not pushed.
class EntryObject : public SyncedObject {
public:
    static Foundation::String entityName() { return "Entry"; }
    static std::shared_ptr<CoreData::NSEntityDescription> entityDescription();

    Foundation::String id() const { return recordName(); }
    Foundation::String vaultID() const;
    void setVaultID(const Foundation::String& vaultID);
    std::optional<Foundation::Data> sealedEntry() const;
    std::optional<Foundation::Data> sealedIndex() const;
    void setSealed(const Foundation::Data& entry, const Foundation::Data& index);
    std::optional<Foundation::Data> remoteSealedEntry() const;
    void setRemoteSealedEntry(const std::optional<Foundation::Data>& sealed);

    // The items whose change waits to be pushed, at most `resultLimit` (0 for all); an item with a fetched
    // record still to merge waits for the merge.
    static CoreData::NSFetchRequest<CoreData::NSManagedObject> locallyModified(std::int64_t resultLimit);

    // The record the account receives: the sealed item as it is here.
    std::shared_ptr<CloudKit::CKRecord> ckRecordWithLocalModifications(const CloudKit::CKRecordZoneID& zoneID) const;
    // Keeps a fetched record for the record store to merge (see above).
    static void processRemotelyModified(const CloudKit::CKRecord& record, CoreData::NSManagedObjectContext& context);
    // The account saved the record: its system fields are kept, and the item is up to date there unless
    // it changed again meanwhile.
    void didPush(const CloudKit::CKRecord& savedRecord);

protected:
    friend Foundation::Construct;
    EntryObject() = default;
    void clearForDeletion() override;
};

} // namespace Shared
