#pragma once

#include "Platform/Foundation/Describe.hpp"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace Foundation {

enum class OSLogType { debug, info, default_, error, fault };

struct LogRecord {
    std::string subsystem;
    std::string category;
    OSLogType type;
    // As written to the log: private arguments redacted.
    std::string message;
    // As a debugger attached to the process sees it: every argument in clear. Only capture sinks get it.
    std::string unredactedMessage;
};

// A log object per subsystem and category. Records at or above the level named by the environment
// variable CORVENDALE_LOG_LEVEL (debug, info, default, error, fault or none; "default" when unset) go to
// standard error; every record also reaches the installed capture sink, which tests use.
class Logger {
public:
    Logger(std::string subsystem, std::string category);

    const std::string& subsystem() const { return m_subsystem; }
    const std::string& category() const { return m_category; }

    void log(OSLogType type, std::string_view message) const;

    // Formats like the system log: each "%@"-style directive, with or without a "{public}" or
    // "{private}" privacy mark, takes the next argument. Private arguments print as "<private>"; an
    // unmarked object ("%@") is private, an unmarked scalar ("%d") public.
    template <class... Args>
    void log(OSLogType type, std::string_view format, const Args&... args) const
    {
        std::vector<std::string> arguments {describe(args)...};
        write(type, formatLogMessage(format, arguments), formatLogMessage(format, arguments, false));
    }
    template <class... Args>
    void debug(std::string_view format, const Args&... args) const { log(OSLogType::debug, format, args...); }
    template <class... Args>
    void info(std::string_view format, const Args&... args) const { log(OSLogType::info, format, args...); }
    template <class... Args>
    void notice(std::string_view format, const Args&... args) const { log(OSLogType::default_, format, args...); }
    template <class... Args>
    void error(std::string_view format, const Args&... args) const { log(OSLogType::error, format, args...); }
    template <class... Args>
    void fault(std::string_view format, const Args&... args) const { log(OSLogType::fault, format, args...); }

    static std::string formatLogMessage(std::string_view format, const std::vector<std::string>& arguments,
                                        bool redactPrivate = true);

    // Replaces the capture sink; an empty function removes it. Returns the previous one.
    using Sink = std::function<void(const LogRecord&)>;
    static Sink setCaptureSink(Sink sink);
    static void setMinimumLevelForStandardError(std::optional<OSLogType> level); // nothing: print none

private:
    void write(OSLogType type, std::string message, std::string unredactedMessage) const;

    std::string m_subsystem;
    std::string m_category;
};

} // namespace Foundation
