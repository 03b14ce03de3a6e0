#include "Platform/CloudKit/CKDatabaseOperation.hpp"

#include "Platform/CloudKit/CKDatabase.hpp"
#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/CloudKit/LongLivedJournal.hpp"
#include "Platform/CloudKit/ServiceState.hpp"

namespace CloudKit {

bool CKDatabaseOperation::isZoneLevel(CKError::Code code)
{
    return code == CKError::Code::zoneNotFound || code == CKError::Code::userDeletedZone
        || code == CKError::Code::changeTokenExpired;
}

void CKDatabaseOperation::throwIfOperationLevel(const std::optional<CKSimulation::Failure>& failure)
{
    if (failure && !isZoneLevel(failure->code))
        throw CKError(failure->code, "Simulated failure");
}

std::optional<CKSimulation::Failure> CKDatabaseOperation::zoneLevel(const std::optional<CKSimulation::Failure>& failure)
{
    if (failure && isZoneLevel(failure->code))
        return failure;
    return std::nullopt;
}

void CKDatabaseOperation::perform()
{
    auto database = this->database();
    if (!database)
        throw CKError(CKError::Code::invalidArguments, "The operation was not added to a database");
    auto folder = database->folder();
    LongLivedJournal::resumeOrphanedOperations(*folder);
    run(*folder, ServiceState::shared().takeFailure(simulatedOperation()));
}

} // namespace CloudKit
