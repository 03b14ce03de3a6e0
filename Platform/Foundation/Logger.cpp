#include "Platform/Foundation/Logger.hpp"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>

namespace Foundation {
namespace {

std::optional<OSLogType> levelFromEnvironment()
{
    const char* value = std::getenv("CORVENDALE_LOG_LEVEL");
    std::string_view name = value ? value : "default";
    if (name == "debug")
        return OSLogType::debug;
    if (name == "info")
        return OSLogType::info;
    if (name == "error")
        return OSLogType::error;
    if (name == "fault")
        return OSLogType::fault;
    if (name == "none")
        return std::nullopt;
    return OSLogType::default_;
}

struct Output {
    std::mutex mutex;
    Logger::Sink sink;
    std::optional<OSLogType> minimum = levelFromEnvironment();
};

Output& output()
{
    static auto* instance = new Output;
    return *instance;
}

const char* name(OSLogType type)
{
    switch (type) {
    case OSLogType::debug: return "Debug";
    case OSLogType::info: return "Info";
    case OSLogType::default_: return "Default";
    case OSLogType::error: return "Error";
    case OSLogType::fault: return "Fault";
    }
    return "Default";
}

} // namespace

Logger::Logger(std::string subsystem, std::string category)
    : m_subsystem(std::move(subsystem))
    , m_category(std::move(category))
{
}

void Logger::log(OSLogType type, std::string_view message) const
{
    write(type, std::string(message), std::string(message));
}

void Logger::write(OSLogType type, std::string message, std::string unredactedMessage) const
{
    auto& out = output();
    Sink sink;
    std::optional<OSLogType> minimum;
    {
        std::lock_guard lock(out.mutex);
        sink = out.sink;
        minimum = out.minimum;
    }
    if (sink)
        sink(LogRecord {m_subsystem, m_category, type, message, std::move(unredactedMessage)});
    if (minimum && type >= *minimum)
        std::fprintf(stderr, "[%s] [%s:%s] %.*s\n", name(type), m_subsystem.c_str(), m_category.c_str(),
                     static_cast<int>(message.size()), message.data());
}

std::string Logger::formatLogMessage(std::string_view format, const std::vector<std::string>& arguments,
                                     bool redactPrivate)
{
    std::string result;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            result += c;
            continue;
        }
        if (format[i + 1] == '%') {
            result += '%';
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        // Unmarked objects are private, as the system log treats them, so that a secret logged by mistake
        // stays out of the log; unmarked scalars are public.
        std::optional<bool> markedPrivate;
        if (format[j] == '{') {
            auto close = format.find('}', j);
            if (close == std::string_view::npos) {
                result += c;
                continue;
            }
            auto marks = format.substr(j + 1, close - j - 1);
            if (marks.find("private") != std::string_view::npos)
                markedPrivate = true;
            else if (marks.find("public") != std::string_view::npos)
                markedPrivate = false;
            j = close + 1;
        }
        // Length modifiers, then one conversion character.
        while (j < format.size() && (format[j] == 'l' || format[j] == 'h' || format[j] == 'z' || format[j] == 'q'))
            ++j;
        if (j >= format.size()) {
            result.append(format.substr(i));
            break;
        }
        std::string argument = next < arguments.size() ? arguments[next++] : "";
        bool isPrivate = redactPrivate && markedPrivate.value_or(format[j] == '@');
        result += isPrivate ? "<private>" : argument;
        i = j;
    }
    return result;
}

Logger::Sink Logger::setCaptureSink(Sink sink)
{
    auto& out = output();
    std::lock_guard lock(out.mutex);
    std::swap(out.sink, sink);
    return sink;
}

void Logger::setMinimumLevelForStandardError(std::optional<OSLogType> level)
{
    auto& out = output();
    std::lock_guard lock(out.mutex);
    out.minimum = level;
}

} // namespace Foundation
