#pragma once

#include "Platform/CloudKit/CKRecordZone.ID.hpp"
#include "Platform/CloudKit/SeenBatches.hpp"
#include "Platform/Foundation/Data.hpp"

#include <optional>
#include <string>

namespace CloudKit {

// What a server change token holds: the container, account and zone it belongs to, the life of the
// zone it was made in, and the batches it has seen.
struct ChangeTokenPayload {
    std::string container;
    std::string account;
    CKRecordZoneID zoneID;
    std::string incarnation;
    SeenBatches seen;

    Foundation::Data encoded() const;
    // Nothing for data that is not a token's.
    static std::optional<ChangeTokenPayload> decode(const Foundation::Data& data);
};

} // namespace CloudKit
