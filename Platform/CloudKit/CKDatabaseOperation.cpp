#include "Platform/CloudKit/CKDatabaseOperation.hpp"

#include "Platform/CloudKit/CKDatabase.hpp"
#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/CloudKit/LongLivedJournal.hpp"
#include "Platform/CloudKit/ServiceState.hpp"

namespace CloudKit {

std::shared_ptr<CKDatabase> CKDatabaseOperation::database() const
{
    std::lock_guard lock(m_blockMutex);
    return m_database;
}

void CKDatabaseOperation::setDatabase(std::shared_ptr<CKDatabase> database)
{
    std::lock_guard lock(m_blockMutex);
    m_database = std::move(database);
}

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
