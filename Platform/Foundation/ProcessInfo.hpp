#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace Foundation {

struct OperatingSystemVersion {
    std::int64_t majorVersion = 0;
    std::int64_t minorVersion = 0;
    std::int64_t patchVersion = 0;
};

class ProcessInfo : public NSObject {
public:
    static const std::shared_ptr<ProcessInfo>& processInfo();

    // The interface-compatible system version the platform reports (a Mac reports the iOS numbering:
    // 26.0 for macOS 26). Tests set it.
    OperatingSystemVersion operatingSystemVersion() const;
    void setOperatingSystemVersion(OperatingSystemVersion version);
    bool isOperatingSystemAtLeast(OperatingSystemVersion version) const;

    std::map<String, String> environment() const;
    String processName() const;
    std::int32_t processIdentifier() const;

protected:
    friend Construct;
    ProcessInfo() = default;

private:
    mutable std::mutex m_mutex;
    OperatingSystemVersion m_version {26, 0, 0};
};

} // namespace Foundation
