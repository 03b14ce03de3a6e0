#pragma once

#include "Shared/Stores/CompletionRecord.hpp"
#include "Shared/Stores/SyncedEntity.hpp"

namespace Shared {

// The data migrations the vault has been through (entity "Migrations"), by name, so that each runs once
// across every installation of the account.
class Migrations : public SyncedEntity<Migrations, CompletionRecord> {
public:
    static Foundation::String entityName() { return "Migrations"; }
    static std::shared_ptr<CoreData::NSEntityDescription> entityDescription();

    static void processRemotelyModified(const std::shared_ptr<CloudKit::CKRecord>& ckRecord, CoreData::NSManagedObjectContext& context)
    {
        CompletionRecord::processRemotelyModified<Migrations>(ckRecord, context);
    }

protected:
    friend Foundation::Construct;
    Migrations() = default;
};

} // namespace Shared
