#pragma once

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <variant>

#include <sys/socket.h>

namespace Basalwork {

// Why watching reachability could not begin or go on; each case carries the service's last status.
class ReachabilityError : public Foundation::ErrorOf<ReachabilityError>,
                          public Foundation::Enumeration<ReachabilityError> {
public:
    struct FailedToCreateWithAddress {
        sockaddr address;
        std::int32_t status;
    };
    struct FailedToCreateWithHostname {
        Foundation::String hostname;
        std::int32_t status;
    };
    struct UnableToSetCallback {
        std::int32_t status;
    };
    struct UnableToSetDispatchQueue {
        std::int32_t status;
    };
    struct UnableToGetFlags {
        std::int32_t status;
    };
    // Cases in declared order; all carry a payload, so the index is also the bridged code.
    using Case = std::variant<FailedToCreateWithAddress, FailedToCreateWithHostname, UnableToSetCallback,
                              UnableToSetDispatchQueue, UnableToGetFlags>;

    static ReachabilityError failedToCreateWithAddress(const sockaddr& address, std::int32_t status)
    {
        return ReachabilityError(FailedToCreateWithAddress {address, status});
    }
    static ReachabilityError failedToCreateWithHostname(Foundation::String hostname, std::int32_t status)
    {
        return ReachabilityError(FailedToCreateWithHostname {std::move(hostname), status});
    }
    static ReachabilityError unableToSetCallback(std::int32_t status) { return ReachabilityError(UnableToSetCallback {status}); }
    static ReachabilityError unableToSetDispatchQueue(std::int32_t status) { return ReachabilityError(UnableToSetDispatchQueue {status}); }
    static ReachabilityError unableToGetFlags(std::int32_t status) { return ReachabilityError(UnableToGetFlags {status}); }

    const Case& value() const { return m_case; }

    std::string domain() const override { return "Basalwork.ReachabilityError"; }
    std::int64_t code() const override { return index(); }
    std::string description() const override;

private:
    explicit ReachabilityError(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
