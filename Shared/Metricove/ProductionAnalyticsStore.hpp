#pragma once

#include "Shared/Metricove/AnalyticsStore.hpp"

#include "Basalwork/Base/File.Location.hpp"

#include "Platform/Foundation/URL.hpp"

#include <mutex>
#include <optional>

namespace Metricove {

// The analytics store of a shipped program. Events are appended, one JSON object a line, to
// "events.jsonl" in the store's folder, which the processes of the application group share; nothing is
// ever sent anywhere: the server address and the upload policy are kept only to be reported.
class ProductionAnalyticsStore : public AnalyticsStore {
public:
    enum class EventUploadSchedulePolicy { manual, automatic };

    // The file of the current events; older events move to "events.previous.jsonl" once it passes this size.
    static constexpr std::uintmax_t maximumEventFileSize = 4 * 1024 * 1024;

    void track(const AnalyticsEvent& event) override;
    Foundation::UUID analyticsIdentifier() const override;

    const Foundation::URL& analyticsServerURL() const { return m_analyticsServerURL; }
    EventUploadSchedulePolicy eventUploadSchedulePolicy() const { return m_eventUploadSchedulePolicy; }
    const Foundation::URL& eventsFileURL() const { return m_eventsFileURL; }

protected:
    friend Foundation::Construct;
    // The folder defaults to "Library/Application Support/Analytics" in the application group the main
    // bundle declares, else to the program's own permanent folder. Throws when it cannot be made.
    ProductionAnalyticsStore(Foundation::URL analyticsServerURL, EventUploadSchedulePolicy eventUploadSchedulePolicy,
                             std::optional<Basalwork::File::Location> location = std::nullopt);

private:
    Foundation::URL m_analyticsServerURL;
    EventUploadSchedulePolicy m_eventUploadSchedulePolicy;
    Foundation::URL m_folderURL;
    Foundation::URL m_eventsFileURL;
    mutable std::mutex m_mutex;
    mutable std::optional<Foundation::UUID> m_identifier;
};

} // namespace Metricove
