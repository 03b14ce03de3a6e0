#pragma once

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <cstdint>
#include <memory>
#include <optional>

namespace Metricove {
class AnalyticsStore;
}

namespace Shared {

// Decides when to ask for a review: after enough significant events, and not again within a period.
// There is no store to ask here: a request is recorded in analytics.
class ReviewRequestStore : public Foundation::NSObject {
public:
    static constexpr std::int64_t significantEventsBeforeRequest = 20;
    static constexpr double minimumSecondsBetweenRequests = 120 * 24 * 3600;

    void recordSignificantEvent();
    // Answers whether a review was asked for now.
    bool requestReviewIfAppropriate();

protected:
    friend Foundation::Construct;
    explicit ReviewRequestStore(std::shared_ptr<Metricove::AnalyticsStore> analyticsStore);

private:
    std::shared_ptr<Metricove::AnalyticsStore> m_analyticsStore;
    std::int64_t m_significantEventCount = 0;
    std::optional<Foundation::Date> m_lastRequestAt;
};

} // namespace Shared
