#include "Platform/Foundation/ProcessInfo.hpp"

#include "Platform/Foundation/CommandLine.hpp"

#include <tuple>
#include <unistd.h>

extern char** environ;

namespace Foundation {

const std::shared_ptr<ProcessInfo>& ProcessInfo::processInfo()
{
    static auto* info = new std::shared_ptr<ProcessInfo>(make<ProcessInfo>());
    return *info;
}

OperatingSystemVersion ProcessInfo::operatingSystemVersion() const
{
    std::lock_guard lock(m_mutex);
    return m_version;
}

void ProcessInfo::setOperatingSystemVersion(OperatingSystemVersion version)
{
    std::lock_guard lock(m_mutex);
    m_version = version;
}

bool ProcessInfo::isOperatingSystemAtLeast(OperatingSystemVersion version) const
{
    auto current = operatingSystemVersion();
    return std::tie(current.majorVersion, current.minorVersion, current.patchVersion)
        >= std::tie(version.majorVersion, version.minorVersion, version.patchVersion);
}

std::map<String, String> ProcessInfo::environment() const
{
    std::map<String, String> result;
    for (char** entry = environ; entry && *entry; ++entry) {
        std::string_view text(*entry);
        auto equals = text.find('=');
        if (equals != std::string_view::npos)
            result.emplace(String(text.substr(0, equals)), String(text.substr(equals + 1)));
    }
    return result;
}

String ProcessInfo::processName() const
{
    auto arguments = CommandLine::arguments();
    if (arguments.empty())
        return "";
    const auto& path = arguments.front().utf8();
    auto slash = path.rfind('/');
    return String(slash == std::string::npos ? path : path.substr(slash + 1));
}

std::int32_t ProcessInfo::processIdentifier() const
{
    return static_cast<std::int32_t>(getpid());
}

} // namespace Foundation
