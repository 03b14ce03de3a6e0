#include "Basalwork/Base/ReachabilityError.hpp"

#include "Platform/Foundation/Describe.hpp"

#include <string>

namespace Basalwork {
namespace {

struct Describer {
    std::string operator()(const ReachabilityError::FailedToCreateWithAddress& c) const
    {
        return "failedToCreateWithAddress(sockaddr(sa_family: " + std::to_string(c.address.sa_family) + "), "
            + std::to_string(c.status) + ")";
    }
    std::string operator()(const ReachabilityError::FailedToCreateWithHostname& c) const
    {
        return "failedToCreateWithHostname(" + Foundation::debugQuoted(c.hostname.view()) + ", " + std::to_string(c.status) + ")";
    }
    std::string operator()(const ReachabilityError::UnableToSetCallback& c) const
    {
        return "unableToSetCallback(" + std::to_string(c.status) + ")";
    }
    std::string operator()(const ReachabilityError::UnableToSetDispatchQueue& c) const
    {
        return "unableToSetDispatchQueue(" + std::to_string(c.status) + ")";
    }
    std::string operator()(const ReachabilityError::UnableToGetFlags& c) const
    {
        return "unableToGetFlags(" + std::to_string(c.status) + ")";
    }
};

} // namespace

std::string ReachabilityError::description() const
{
    return std::visit(Describer {}, m_case);
}

} // namespace Basalwork
