#include "Platform/CloudKit/CKSimulation.hpp"

#include "Platform/CloudKit/NotificationNames.hpp"
#include "Platform/CloudKit/ServiceState.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"

namespace CloudKit {

void CKSimulation::injectFailure(Failure failure)
{
    ServiceState::shared().injectFailure(std::move(failure));
}

void CKSimulation::removeInjectedFailures()
{
    ServiceState::shared().removeInjectedFailures();
}

void CKSimulation::setAccount(std::optional<Foundation::String> accountIdentifier)
{
    std::optional<std::string> account;
    if (accountIdentifier)
        account = accountIdentifier->utf8();
    if (ServiceState::shared().setAccount(std::move(account)))
        Foundation::NotificationCenter::defaultCenter()->post(NotificationNames::CKAccountChanged());
}

void CKSimulation::setDeliversPushesForOwnBatches(bool delivers)
{
    ServiceState::shared().setDeliversPushesForOwnBatches(delivers);
}

} // namespace CloudKit
