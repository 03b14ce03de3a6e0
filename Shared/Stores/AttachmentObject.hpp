#pragma once

#include "Shared/Stores/SyncedEntity.hpp"

namespace Shared {

// An attachment's description in the object store (entity "Attachment"): the item it belongs to and,
// sealed under the vault key, its file name, size and date. The record name is the attachment's
// identifier; the encrypted file itself lives in the attachment data store and travels as the record's
// asset. An attachment never changes once made, so a fetched record simply replaces the local copy.
class AttachmentObject : public SyncedEntity<AttachmentObject> {
public:
    static Foundation::String entityName() { return "Attachment"; }
    static std::shared_ptr<CoreData::NSEntityDescription> entityDescription();

    Foundation::String id() const { return recordName(); }
    Foundation::String entryID() const;
    void setEntryID(const Foundation::String& entryID);
    std::optional<Foundation::Data> sealedDescription() const;
    void setSealedDescription(const Foundation::Data& sealed);

    // The attachments, not deletion markers, of these items.
    static CoreData::NSFetchRequest<AttachmentObject> ofEntries(const std::vector<Foundation::String>& entryIDs);

    // The record without its asset; the sync engine adds the encrypted file.
    std::shared_ptr<CloudKit::CKRecord> ckRecordWithLocalModifications(const CloudKit::CKRecordZoneID& zoneID) const override;
    static void processRemotelyModified(const std::shared_ptr<CloudKit::CKRecord>& ckRecord, CoreData::NSManagedObjectContext& context);

protected:
    friend Foundation::Construct;
    AttachmentObject() = default;
    void clearForDeletion() override;
};

} // namespace Shared
