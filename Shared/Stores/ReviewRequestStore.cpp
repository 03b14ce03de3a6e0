#include "Shared/Stores/ReviewRequestStore.hpp"

#include "Shared/Metricove/AnalyticsStore.hpp"

namespace Shared {

ReviewRequestStore::ReviewRequestStore(std::shared_ptr<Metricove::AnalyticsStore> analyticsStore)
    : m_analyticsStore(std::move(analyticsStore))
{
}

void ReviewRequestStore::recordSignificantEvent()
{
    ++m_significantEventCount;
}

bool ReviewRequestStore::requestReviewIfAppropriate()
{
    auto now = Foundation::Date::now();
    if (m_significantEventCount < significantEventsBeforeRequest
        || (m_lastRequestAt && now.timeIntervalSince(*m_lastRequestAt) < minimumSecondsBetweenRequests))
        return false;
    m_significantEventCount = 0;
    m_lastRequestAt = now;
    if (m_analyticsStore)
        m_analyticsStore->track(Metricove::AnalyticsEvent::message("review requested"));
    return true;
}

} // namespace Shared
