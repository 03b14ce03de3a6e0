#pragma once

#include "Platform/CloudKit/CKSimulation.hpp"

#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace CloudKit {

// What the whole process shares about the service: where containers live, who is signed in, which
// device this is, the failures tests injected and the batches this process wrote.
class ServiceState {
public:
    static ServiceState& shared();

    // CORVENDALE_CLOUDKIT_FOLDER when it is an absolute path, else "CloudKit" in the user's data
    // directory. Every container is a folder in it, named after the container's identifier.
    std::string rootFolder() const;

    // The signed-in account: CORVENDALE_CLOUDKIT_ACCOUNT (empty: nobody) until a test sets one; when
    // the variable is unset, the one local account. Nothing when nobody is signed in.
    std::optional<std::string> account();
    // False when the identifier could not name a folder.
    static bool isValidIdentifier(const std::string& identifier);
    // True when the account changed.
    bool setAccount(std::optional<std::string> account);

    // Where this installation keeps what is its own: its device identifier and the last sequence it
    // wrote into each database.
    static std::string stateFolder();
    // Kept in the user's state directory, so that the batches of one installation carry one name
    // whatever the process; a fresh random one when it cannot be kept.
    const std::string& deviceIdentifier();

    void injectFailure(CKSimulation::Failure failure);
    void removeInjectedFailures();
    // The first failure for this operation, counted as met.
    std::optional<CKSimulation::Failure> takeFailure(CKSimulation::Operation operation);

    void noteOwnBatch(const std::string& path);
    // Whether a push should announce the batch at this path.
    bool shouldAnnounce(const std::string& path) const;
    void setDeliversPushesForOwnBatches(bool delivers);

private:
    ServiceState() = default;

    mutable std::mutex m_mutex;
    bool m_accountRead = false;
    std::optional<std::string> m_account;
    std::string m_deviceIdentifier;
    std::vector<CKSimulation::Failure> m_failures;
    std::set<std::string> m_ownBatches;
    bool m_deliversOwnBatches = false;
};

} // namespace CloudKit
