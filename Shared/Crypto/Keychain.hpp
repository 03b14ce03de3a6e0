#pragma once

#include <memory>

namespace Metricove {
class AnalyticsStore;
}

namespace Shared {

// Where keychain failures are reported: the program hands it its analytics store at start-up.
struct Keychain {
    static std::shared_ptr<Metricove::AnalyticsStore> analyticsStore();
    static void setAnalyticsStore(std::shared_ptr<Metricove::AnalyticsStore> analyticsStore);
};

} // namespace Shared
