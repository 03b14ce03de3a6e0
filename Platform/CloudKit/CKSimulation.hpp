#pragma once

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKRecordZone.ID.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <optional>

namespace CloudKit {

// Test hooks of the stand-in, process-wide: the signed-in account, failures the service answers, and
// whether pushes also announce batches this process wrote.
struct CKSimulation {
    // Which operations a failure meets.
    enum class Operation { any, modifyRecords, fetchRecordZoneChanges, modifyRecordZones, fetchRecordZones, fetchDatabaseChanges };

    struct Failure {
        CKError::Code code = CKError::Code::networkUnavailable;
        Operation operation = Operation::any;
        // Zone-level codes (zone not found, zone deleted by the user, change token expired) fail the items
        // of this zone only; nothing: of every zone the operation touches. Other codes fail the operation.
        std::optional<CKRecordZoneID> zoneID;
        // A fetch of changes delivers this many records before it fails.
        std::int64_t afterRecords = 0;
        // How many operations meet it; nothing: every one until the failures are removed.
        std::optional<std::int64_t> times;
    };

    static void injectFailure(Failure failure);
    static void removeInjectedFailures();

    // Signs in the account with this identifier (nothing: signs out) and posts CKAccountChanged when
    // it differs from the current one. Until called, CORVENDALE_CLOUDKIT_ACCOUNT decides.
    static void setAccount(std::optional<Foundation::String> accountIdentifier);

    // A process is one device: by default it is not told of batches it wrote itself.
    static void setDeliversPushesForOwnBatches(bool delivers);
};

} // namespace CloudKit
