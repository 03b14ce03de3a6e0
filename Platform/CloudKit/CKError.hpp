#pragma once

#include "Platform/CloudKit/CKRecord.ID.hpp"
#include "Platform/CloudKit/CKRecordZone.ID.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace CloudKit {

class CKRecord;

inline constexpr const char* CKErrorDomain = "CKErrorDomain";

// A failure of the service: an NSError in CKErrorDomain with the platform's code. A partial failure
// carries the error of each item that failed; a conflict carries the server's copy of the record.
class CKError : public Foundation::ErrorOf<CKError, Foundation::NSError> {
public:
    enum class Code : std::int64_t {
        internalError = 1,
        partialFailure = 2,
        networkUnavailable = 3,
        networkFailure = 4,
        badContainer = 5,
        serviceUnavailable = 6,
        requestRateLimited = 7,
        missingEntitlement = 8,
        notAuthenticated = 9,
        permissionFailure = 10,
        unknownItem = 11,
        invalidArguments = 12,
        resultsTruncated = 13,
        serverRecordChanged = 14,
        serverRejectedRequest = 15,
        assetFileNotFound = 16,
        assetFileModified = 17,
        incompatibleVersion = 18,
        constraintViolation = 19,
        operationCancelled = 20,
        changeTokenExpired = 21,
        batchRequestFailed = 22,
        zoneBusy = 23,
        badDatabase = 24,
        quotaExceeded = 25,
        zoneNotFound = 26,
        limitExceeded = 27,
        userDeletedZone = 28,
        tooManyParticipants = 29,
        alreadyShared = 30,
        referenceViolation = 31,
        managedAccountRestricted = 32,
        participantMayNeedVerification = 33,
        serverResponseLost = 34,
        assetNotAvailable = 35,
        accountTemporarilyUnavailable = 36,
    };

    // What a partial failure names: a record, a zone, or a change batch (by file name) that could not
    // be read.
    using ItemID = std::variant<CKRecordID, CKRecordZoneID, Foundation::String>;
    using PartialErrors = std::vector<std::pair<ItemID, Foundation::ErrorPtr>>;

    CKError(Code code, const std::string& localizedDescription);

    Code errorCode() const { return static_cast<Code>(code()); }

    // CKPartialErrorsByItemIDKey, in the order the items failed.
    const PartialErrors& partialErrorsByItemID() const { return m_partialErrors; }
    Foundation::ErrorPtr partialError(const ItemID& itemID) const;
    // For serverRecordChanged: the record as the server has it, and the one that was sent.
    const std::shared_ptr<CKRecord>& serverRecord() const { return m_serverRecord; }
    const std::shared_ptr<CKRecord>& clientRecord() const { return m_clientRecord; }
    const std::shared_ptr<CKRecord>& ancestorRecord() const { return m_ancestorRecord; }
    // CKErrorRetryAfterKey: how long to wait before trying again, when the service says.
    std::optional<double> retryAfterSeconds() const { return m_retryAfterSeconds; }

    static CKError partialFailure(PartialErrors errors);
    static CKError serverRecordChanged(std::shared_ptr<CKRecord> serverRecord, std::shared_ptr<CKRecord> clientRecord);
    CKError& setRetryAfterSeconds(std::optional<double> seconds);

    std::string description() const override;

private:
    PartialErrors m_partialErrors;
    std::shared_ptr<CKRecord> m_serverRecord;
    std::shared_ptr<CKRecord> m_clientRecord;
    std::shared_ptr<CKRecord> m_ancestorRecord;
    std::optional<double> m_retryAfterSeconds;
};

// The error's CloudKit code, when it is a CloudKit error.
std::optional<CKError::Code> ckErrorCode(const Foundation::Error& error);

} // namespace CloudKit
