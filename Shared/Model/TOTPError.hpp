#pragma once

#include "Shared/Model/ErrorEnumeration.hpp"

#include "Platform/Foundation/String.hpp"

namespace Shared {

// Why a one-time-password text gives no code. The reasons name what is wrong, never the secret.
struct TOTPErrorCases {
    struct InvalidOTPAuthURI {
        Foundation::String reason;
    };
    struct UnsupportedAlgorithm {
        Foundation::String algorithm;
    };
    struct InvalidDigits {
        Foundation::String digits;
    };
    struct InvalidPeriod {
        Foundation::String period;
    };
    struct InvalidSecretKey {
        Foundation::String reason;
    };
};

class TOTPError : public ErrorEnumeration<TOTPError, TOTPErrorCases::InvalidOTPAuthURI, TOTPErrorCases::UnsupportedAlgorithm,
                                          TOTPErrorCases::InvalidDigits, TOTPErrorCases::InvalidPeriod, TOTPErrorCases::InvalidSecretKey>,
                  public TOTPErrorCases {
public:
    static TOTPError invalidOTPAuthURI(Foundation::String reason) { return TOTPError(InvalidOTPAuthURI {std::move(reason)}); }
    static TOTPError unsupportedAlgorithm(Foundation::String algorithm) { return TOTPError(UnsupportedAlgorithm {std::move(algorithm)}); }
    static TOTPError invalidDigits(Foundation::String digits) { return TOTPError(InvalidDigits {std::move(digits)}); }
    static TOTPError invalidPeriod(Foundation::String period) { return TOTPError(InvalidPeriod {std::move(period)}); }
    static TOTPError invalidSecretKey(Foundation::String reason) { return TOTPError(InvalidSecretKey {std::move(reason)}); }

    // A mistyped secret is the user's input, not a fault.
    bool shouldTrackInAnalytics() const override { return false; }

    std::string domain() const override { return "Shared.TOTPError"; }
    std::string description() const override;

private:
    using ErrorEnumeration::ErrorEnumeration;
};

} // namespace Shared
