#pragma once

#include "Shared/Model/ErrorEnumeration.hpp"

namespace Shared {

// Failures of encryption and decryption. A wrong key and a changed byte are the same failure: the data
// does not authenticate, and nothing of it is returned.
struct CryptorErrorCases {
    struct UnsupportedFormat {
        std::int64_t version;
    };
    struct Locked { };
    struct AuthenticationFailed { };
    struct Truncated { };
    struct KeyDerivationFailed { };
    struct Cancelled { };
};

class CryptorError : public ErrorEnumeration<CryptorError, CryptorErrorCases::UnsupportedFormat, CryptorErrorCases::Locked,
                                             CryptorErrorCases::AuthenticationFailed, CryptorErrorCases::Truncated,
                                             CryptorErrorCases::KeyDerivationFailed, CryptorErrorCases::Cancelled>,
                     public CryptorErrorCases {
public:
    static CryptorError unsupportedFormat(std::int64_t version) { return CryptorError(UnsupportedFormat {version}); }
    static CryptorError locked() { return CryptorError(Locked {}); }
    static CryptorError authenticationFailed() { return CryptorError(AuthenticationFailed {}); }
    static CryptorError truncated() { return CryptorError(Truncated {}); }
    static CryptorError keyDerivationFailed() { return CryptorError(KeyDerivationFailed {}); }
    static CryptorError cancelled() { return CryptorError(Cancelled {}); }

    bool shouldTrackInAnalytics() const override { return !is<Locked>() && !is<Cancelled>(); }

    std::string domain() const override { return "Shared.CryptorError"; }
    std::string description() const override;

private:
    using ErrorEnumeration::ErrorEnumeration;
};

} // namespace Shared
