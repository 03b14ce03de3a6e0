#pragma once

#include "Shared/Stores/CompletionRecord.hpp"
#include "Shared/Stores/SyncedEntity.hpp"

namespace Shared {

// The set-up steps the user has completed (entity "Onboarding"), by name, so that another installation
// of the account does not offer them again.
class Onboarding : public SyncedEntity<Onboarding, CompletionRecord> {
public:
    static Foundation::String entityName() { return "Onboarding"; }
    static std::shared_ptr<CoreData::NSEntityDescription> entityDescription();

    static void processRemotelyModified(const std::shared_ptr<CloudKit::CKRecord>& ckRecord, CoreData::NSManagedObjectContext& context)
    {
        CompletionRecord::processRemotelyModified<Onboarding>(ckRecord, context);
    }

protected:
    friend Foundation::Construct;
    Onboarding() = default;
};

} // namespace Shared
