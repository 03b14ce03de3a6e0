#pragma once

#include "Shared/Stores/SyncedEntity.hpp"

namespace Shared {

// The master password's records as the account keeps them (entity "MasterPassword"): what it takes to
// open the vault key with the master password on another installation (the key derivation and the
// sealed vault key, never the password), and when the password last changed.
class MasterPassword : public SyncedEntity<MasterPassword> {
public:
    static Foundation::String entityName() { return "MasterPassword"; }
    static std::shared_ptr<CoreData::NSEntityDescription> entityDescription();

    std::optional<Foundation::Data> records() const;
    void setRecords(const std::optional<Foundation::Data>& records);
    std::optional<Foundation::Date> changedAt() const;
    void setChangedAt(const std::optional<Foundation::Date>& changedAt);


    std::shared_ptr<CloudKit::CKRecord> ckRecordWithLocalModifications(const CloudKit::CKRecordZoneID& zoneID) const override;
    // The later change of the password wins.
    static void processRemotelyModified(const std::shared_ptr<CloudKit::CKRecord>& ckRecord, CoreData::NSManagedObjectContext& context);

protected:
    friend Foundation::Construct;
    MasterPassword() = default;
    void clearForDeletion() override;
};

} // namespace Shared
