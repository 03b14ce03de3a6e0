#pragma once

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKOperation.hpp"
#include "Platform/CloudKit/CKSimulation.hpp"

#include <memory>
#include <optional>

namespace CloudKit {

class CKDatabase;
class DatabaseFolder;

// An operation on one database. Before its work it checks that an account is signed in and that the
// container can be reached; tests' injected failures meet it there.
class CKDatabaseOperation : public CKOperation {
public:
    std::shared_ptr<CKDatabase> database() const { return m_database.get(); }
    // Set by `CKDatabase::add`.
    void setDatabase(std::shared_ptr<CKDatabase> database) { m_database.set(std::move(database)); }

protected:
    CKDatabaseOperation() = default;

    void perform() final;
    // The work itself, on the database's folder. `failure` is a failure a test injected for this
    // operation, if any: zone-level codes fail the items of their zones, other codes the operation.
    virtual void run(DatabaseFolder& folder, const std::optional<CKSimulation::Failure>& failure) = 0;
    virtual CKSimulation::Operation simulatedOperation() const = 0;

    static bool isZoneLevel(CKError::Code code);
    // The injected failure when it fails the whole operation.
    static void throwIfOperationLevel(const std::optional<CKSimulation::Failure>& failure);
    // The injected failure when it fails zones, else nothing.
    static std::optional<CKSimulation::Failure> zoneLevel(const std::optional<CKSimulation::Failure>& failure);

private:
    Locked<std::shared_ptr<CKDatabase>> m_database;
};

} // namespace CloudKit
