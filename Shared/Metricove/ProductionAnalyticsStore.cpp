#include "Shared/Metricove/ProductionAnalyticsStore.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/Logger.hpp"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace Metricove {

namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Metricove", "ProductionAnalyticsStore");
    return logger;
}

Basalwork::File::Location defaultLocation()
{
    const Foundation::String subdirectory = "Library/Application Support/Analytics";
    auto groups = Foundation::Bundle::main()->object("com.apple.security.application-groups");
    if (const auto* list = groups ? groups->array() : nullptr; list && !list->empty()) {
        if (auto group = list->front().as<Foundation::String>())
            return Basalwork::File::Location::appGroup(*group, subdirectory);
    }
    return Basalwork::File::Location::permanent(Foundation::String("Analytics"));
}

std::string eventLine(const AnalyticsEvent& event, const Foundation::UUID& identifier)
{
    Foundation::JSONStreamWriter line;
    line.beginObject();
    line.key("date").real(Foundation::Date::now().timeIntervalSince1970());
    line.key("analyticsID").string(identifier.uuidString().utf8());
    if (const auto* error = event.as<AnalyticsEvent::Error>()) {
        line.key("kind").string("error");
        line.key("context").string(error->context.utf8());
        line.key("domain").string(error->error ? error->error->domain() : "");
        line.key("code").integer(error->error ? error->error->code() : 0);
        line.key("description").string(error->error ? error->error->description() : "");
    } else if (const auto* message = event.as<AnalyticsEvent::Message>()) {
        line.key("kind").string("message");
        line.key("text").string(message->text.utf8());
    }
    line.endObject();
    return line.take() + "\n";
}

// One write with O_APPEND, so lines of several processes never interleave.
void appendLine(const std::string& path, const std::string& line)
{
    int descriptor = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0)
        throw Foundation::CocoaError::fileError(errno, path, Foundation::CocoaError::Access::writing);
    ssize_t written = ::write(descriptor, line.data(), line.size());
    int writeError = errno;
    ::close(descriptor);
    if (written != static_cast<ssize_t>(line.size()))
        throw Foundation::CocoaError::fileError(written < 0 ? writeError : ENOSPC, path, Foundation::CocoaError::Access::writing);
}

} // namespace

ProductionAnalyticsStore::ProductionAnalyticsStore(Foundation::URL analyticsServerURL,
                                                   EventUploadSchedulePolicy eventUploadSchedulePolicy,
                                                   std::optional<Basalwork::File::Location> location)
    : m_analyticsServerURL(std::move(analyticsServerURL))
    , m_eventUploadSchedulePolicy(eventUploadSchedulePolicy)
    , m_folderURL(location.value_or(defaultLocation()).url(*Foundation::FileManager::defaultManager()))
    , m_eventsFileURL(m_folderURL.appendingPathComponent("events.jsonl", false))
{
}

Foundation::UUID ProductionAnalyticsStore::analyticsIdentifier() const
{
    std::lock_guard lock(m_mutex);
    if (m_identifier)
        return *m_identifier;
    auto path = m_folderURL.appendingPathComponent("identifier", false).path().utf8();
    try {
        auto text = Foundation::FileIO::readFile(path);
        if (auto identifier = Foundation::UUID::fromString(Foundation::String(text.view())))
            return *(m_identifier = identifier);
    } catch (const Foundation::Error&) {
        // Not made yet: made below.
    }
    Foundation::UUID identifier;
    // Another process of the group may write its own at the same moment; the last rename wins and both
    // read it back from then on.
    try {
        Foundation::FileIO::writeFile(path, Foundation::Data::fromString(identifier.uuidString().utf8()), true);
    } catch (const Foundation::Error& error) {
        log().error("Failed to store the analytics identifier: %{public}@", error.description());
    }
    return *(m_identifier = identifier);
}

void ProductionAnalyticsStore::track(const AnalyticsEvent& event)
{
    auto line = eventLine(event, analyticsIdentifier());
    std::lock_guard lock(m_mutex);
    auto path = m_eventsFileURL.path().utf8();
    try {
        std::error_code ignored;
        if (std::filesystem::file_size(path, ignored) > maximumEventFileSize)
            std::filesystem::rename(path, m_folderURL.appendingPathComponent("events.previous.jsonl", false).path().utf8(), ignored);
        appendLine(path, line);
    } catch (const Foundation::Error& error) {
        log().error("Failed to record an analytics event: %{public}@", error.description());
    }
}

} // namespace Metricove
