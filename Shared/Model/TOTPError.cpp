#include "Shared/Model/TOTPError.hpp"

#include "Platform/Foundation/Describe.hpp"

namespace Shared {

namespace {

std::string quoted(const Foundation::String& text)
{
    return Foundation::debugQuoted(text.view());
}

struct Describer {
    std::string operator()(const TOTPError::InvalidOTPAuthURI& c) const { return "invalidOTPAuthURI(reason: " + quoted(c.reason) + ")"; }
    std::string operator()(const TOTPError::UnsupportedAlgorithm& c) const { return "unsupportedAlgorithm(" + quoted(c.algorithm) + ")"; }
    std::string operator()(const TOTPError::InvalidDigits& c) const { return "invalidDigits(" + quoted(c.digits) + ")"; }
    std::string operator()(const TOTPError::InvalidPeriod& c) const { return "invalidPeriod(" + quoted(c.period) + ")"; }
    std::string operator()(const TOTPError::InvalidSecretKey& c) const { return "invalidSecretKey(reason: " + quoted(c.reason) + ")"; }
};

} // namespace

std::string TOTPError::description() const
{
    return std::visit(Describer {}, value());
}

} // namespace Shared
