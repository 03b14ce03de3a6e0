#include "Platform/Foundation/Logger.hpp"

#include <cctype>
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
    auto argument = [&](std::size_t index) { return index < arguments.size() ? arguments[index] : std::string(); };
    auto number = [&](std::size_t& at) {
        std::size_t value = 0;
        while (at < format.size() && std::isdigit(static_cast<unsigned char>(format[at])))
            value = value * 10 + static_cast<std::size_t>(format[at++] - '0');
        return value;
    };
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
        // %{privacy}[position$][flags][width][.precision][length]conversion
        std::size_t j = i + 1;
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
        std::optional<std::size_t> position;
        if (std::size_t at = j; at < format.size() && std::isdigit(static_cast<unsigned char>(format[at]))) {
            auto value = number(at);
            if (at < format.size() && format[at] == '$' && value > 0) {
                position = value - 1;
                j = at + 1;
            }
        }
        bool leftAligned = false;
        bool zeroPadded = false;
        for (; j < format.size() && std::string_view("-+ #0'").find(format[j]) != std::string_view::npos; ++j) {
            leftAligned |= format[j] == '-';
            zeroPadded |= format[j] == '0';
        }
        std::size_t width = 0;
        if (j < format.size() && format[j] == '*') {
            ++j;
            ++next; // the width comes from an argument; the text takes no padding from it
        } else {
            width = number(j);
        }
        std::optional<std::size_t> precision;
        if (j < format.size() && format[j] == '.') {
            ++j;
            if (j < format.size() && format[j] == '*') {
                ++j;
                ++next;
            } else {
                precision = number(j);
            }
        }
        while (j < format.size() && std::string_view("hlqzjtL").find(format[j]) != std::string_view::npos)
            ++j;
        if (j >= format.size()) {
            result.append(format.substr(i));
            break;
        }
        const char conversion = format[j];
        std::string text = argument(position ? *position : next++);
        // Objects and strings are private unless marked public, as the system log treats them, so that a
        // secret logged by mistake stays out of the log; scalars are public unless marked private.
        const bool isText = std::string_view("@sSP").find(conversion) != std::string_view::npos;
        if (redactPrivate && markedPrivate.value_or(isText)) {
            result += "<private>";
        } else {
            if (precision && isText && *precision < text.size()) {
                auto cut = *precision;
                while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
                    --cut; // never half a character
                text.resize(cut);
            }
            if (text.size() < width) {
                const std::size_t fill = width - text.size();
                if (leftAligned)
                    text.append(fill, ' ');
                else if (zeroPadded && !isText)
                    text.insert(text.starts_with('-') ? 1 : 0, fill, '0');
                else
                    text.insert(0, fill, ' ');
            }
            result += text;
        }
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
