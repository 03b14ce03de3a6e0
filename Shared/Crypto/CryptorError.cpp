#include "Shared/Crypto/CryptorError.hpp"

namespace Shared {

namespace {

struct Describer {
    std::string operator()(const CryptorError::UnsupportedFormat& c) const { return "unsupportedFormat(version: " + std::to_string(c.version) + ")"; }
    std::string operator()(const CryptorError::Locked&) const { return "locked"; }
    std::string operator()(const CryptorError::AuthenticationFailed&) const { return "authenticationFailed"; }
    std::string operator()(const CryptorError::Truncated&) const { return "truncated"; }
    std::string operator()(const CryptorError::KeyDerivationFailed&) const { return "keyDerivationFailed"; }
    std::string operator()(const CryptorError::Cancelled&) const { return "cancelled"; }
};

} // namespace

std::string CryptorError::description() const
{
    return std::visit(Describer {}, value());
}

} // namespace Shared
