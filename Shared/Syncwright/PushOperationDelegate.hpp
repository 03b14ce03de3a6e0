#pragma once

#include "Platform/CloudKit/CKRecord.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace Syncwright {

class PushedModification;

// Gives the push what to send, a round at a time, and takes what became of it. Requirements may throw;
// the push then stops and the sync fails with the error, leaving every mark that was not yet cleared.
class PushOperationDelegate {
public:
    virtual ~PushOperationDelegate() = default;

    // At most `resultLimit` records marked "locally deleted".
    virtual std::vector<CloudKit::CKRecordID> locallyDeletedCKRecordIDs(std::int64_t resultLimit) = 0;
    // At most `resultLimit` records marked "locally modified", each with every field it syncs.
    virtual std::vector<std::shared_ptr<CloudKit::CKRecord>> locallyModifiedCKRecords(std::int64_t resultLimit) = 0;
    // What became of the records of one round (never called with none).
    virtual void process(const std::vector<PushedModification>& pushedModifications) = 0;
};

} // namespace Syncwright
