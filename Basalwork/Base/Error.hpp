#pragma once

#include "Platform/Foundation/Error.hpp"

#include <cstdint>
#include <string>

namespace Basalwork {

// The domain and code of the platform error object that stands for `error`.
std::string domain(const Foundation::Error& error);
std::int64_t code(const Foundation::Error& error);
// "Domain: <domain>, Code: <code>"
std::string domainAndCodeDescription(const Foundation::Error& error);
bool hasSameDomainAndCode(const Foundation::Error& error, const Foundation::Error& as);
// "nil" for no error, else the error's textual form.
std::string nonOptionalDescription(const Foundation::ErrorPtr& error);

} // namespace Basalwork
