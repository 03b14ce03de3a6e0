#pragma once

#include "Shared/CompletionRecord.hpp"

namespace Shared {

// The data migrations the vault has been through (entity "Migrations"), by name, so that each runs once
// across every installation of the account.
class Migrations : public CompletionRecord {
public:
    static Foundation::String entityName() { return "Migrations"; }
    static std::shared_ptr<CoreData::NSEntityDescription> entityDescription();

    static void processRemotelyModified(const CloudKit::CKRecord& record, CoreData::NSManagedObjectContext& context)
    {
        CompletionRecord::processRemotelyModified<Migrations>(record, context);
    }

protected:
    friend Foundation::Construct;
    Migrations() = default;
};

} // namespace Shared
