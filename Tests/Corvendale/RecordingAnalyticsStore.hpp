#pragma once

#include "Shared/Metricove/AnalyticsStore.hpp"

#include <mutex>
#include <string>
#include <vector>

namespace CorvendaleTests {

// Keeps what the program tracks, in memory.
class RecordingAnalyticsStore : public Metricove::AnalyticsStore {
public:
    void track(const Metricove::AnalyticsEvent& event) override
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(event);
    }
    Foundation::UUID analyticsIdentifier() const override { return m_identifier; }
    std::vector<Metricove::AnalyticsEvent> events() const
    {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    // The texts of the plain messages, in order.
    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const auto& event : events())
            if (const auto* message = event.as<Metricove::AnalyticsEvent::Message>())
                texts.push_back(message->text.utf8());
        return texts;
    }

protected:
    friend Foundation::Construct;
    RecordingAnalyticsStore() = default;

private:
    mutable std::mutex m_mutex;
    std::vector<Metricove::AnalyticsEvent> m_events;
    Foundation::UUID m_identifier;
};

} // namespace CorvendaleTests
