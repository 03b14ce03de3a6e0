#include "Shared/Crypto/Keychain.hpp"

#include <mutex>

namespace Shared {

namespace {

std::mutex mutex;
std::shared_ptr<Metricove::AnalyticsStore> store;

} // namespace

std::shared_ptr<Metricove::AnalyticsStore> Keychain::analyticsStore()
{
    std::lock_guard lock(mutex);
    return store;
}

void Keychain::setAnalyticsStore(std::shared_ptr<Metricove::AnalyticsStore> analyticsStore)
{
    std::lock_guard lock(mutex);
    store = std::move(analyticsStore);
}

} // namespace Shared
