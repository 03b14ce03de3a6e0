#pragma once

#include "Shared/Stores/SyncedEntity.hpp"

namespace Shared {

// The vault the items belong to (entity "Vault"), named by its identifier. It also keeps the
// safe-for-inspection password: the vault key sealed under the key that password derives.
class Vault : public SyncedEntity<Vault> {
public:
    static Foundation::String entityName() { return "Vault"; }
    static std::shared_ptr<CoreData::NSEntityDescription> entityDescription();

    Foundation::String id() const { return recordName(); }
    // The derivation and the sealed vault key as JSON; nothing while no inspection password is set.
    std::optional<Foundation::Data> inspectionKey() const;
    void setInspectionKey(const std::optional<Foundation::Data>& inspectionKey, Foundation::Date changedAt);
    // When the inspection password was last set or removed; nothing for a vault that never had one.
    std::optional<Foundation::Date> inspectionKeyChangedAt() const;


    std::shared_ptr<CloudKit::CKRecord> ckRecordWithLocalModifications(const CloudKit::CKRecordZoneID& zoneID) const override;
    // The account's copy replaces the local one, unless that holds a later change of the inspection
    // password still to push.
    static void processRemotelyModified(const std::shared_ptr<CloudKit::CKRecord>& ckRecord, CoreData::NSManagedObjectContext& context);

protected:
    friend Foundation::Construct;
    Vault() = default;
    void clearForDeletion() override;
};

} // namespace Shared
