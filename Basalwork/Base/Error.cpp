#include "Basalwork/Base/Error.hpp"

namespace Basalwork {

std::string domain(const Foundation::Error& error)
{
    return error.domain();
}

std::int64_t code(const Foundation::Error& error)
{
    return error.code();
}

std::string domainAndCodeDescription(const Foundation::Error& error)
{
    return "Domain: " + error.domain() + ", Code: " + std::to_string(error.code());
}

bool hasSameDomainAndCode(const Foundation::Error& error, const Foundation::Error& as)
{
    return error.domain() == as.domain() && error.code() == as.code();
}

std::string nonOptionalDescription(const Foundation::ErrorPtr& error)
{
    return error ? error->description() : "nil";
}

} // namespace Basalwork
