#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <optional>

namespace Shared {

// A time-based one-time password (RFC 6238 over RFC 4226) made from an otpauth URI or a bare Base32
// secret. Making one never fails: a text that cannot give codes makes a TOTP whose secret is invalid,
// and asking it for a code raises the reason.
class TOTP {
public:
    enum class Algorithm { sha1, sha256, sha512 };
    // Whether the secret gives codes; an invalid one shows the invalid-secret text in place of a code.
    enum class SecretKeyState : std::uint8_t { valid = 0, invalid = 1 };

    static constexpr std::int64_t defaultDigits = 6;
    static constexpr std::int64_t defaultPeriod = 30;
    // Longest accepted text: one-time-password links are short, and a hostile one must not cost much.
    static constexpr std::size_t maximumTextLength = 4096;

    explicit TOTP(const Foundation::String& otpAuthUriOrSecretString);
    // The same reading, raising TOTPError where the text gives no codes.
    static TOTP parse(const Foundation::String& otpAuthUriOrSecretString);

    static Foundation::String invalidSecretKeyText();

    // RFC 4226: the code for one counter value.
    static Foundation::String generateHOTP(const Foundation::Data& secret, std::uint64_t counter, std::int64_t digits, Algorithm algorithm);

    // The code at `date`, digits only. Throws TOTPError when the secret is invalid.
    Foundation::String generate(Foundation::Date date) const;
    // The code grouped for reading ("123 456", "1234 5678"). Throws as generate.
    Foundation::String generateFormatted(Foundation::Date date) const;
    Foundation::String generateOrInvalidSecretKeyText(Foundation::Date date) const;

    // Seconds left of the time step that holds `date`.
    double secondsRemaining(Foundation::Date date) const;

    SecretKeyState secretKeyState() const { return m_secretKeyState; }
    Algorithm algorithm() const { return m_algorithm; }
    std::int64_t digits() const { return m_digits; }
    std::int64_t period() const { return m_period; }
    const std::optional<Foundation::String>& issuer() const { return m_issuer; }
    const std::optional<Foundation::String>& accountName() const { return m_accountName; }

    friend bool operator==(const TOTP& lhs, const TOTP& rhs)
    {
        return lhs.m_secret == rhs.m_secret && lhs.m_secretKeyState == rhs.m_secretKeyState && lhs.m_algorithm == rhs.m_algorithm
            && lhs.m_digits == rhs.m_digits && lhs.m_period == rhs.m_period && lhs.m_issuer == rhs.m_issuer
            && lhs.m_accountName == rhs.m_accountName;
    }

private:
    TOTP() = default;
    void read(const Foundation::String& text);
    void readURI(const std::string& text);

    Foundation::Data m_secret;
    SecretKeyState m_secretKeyState = SecretKeyState::invalid;
    Algorithm m_algorithm = Algorithm::sha1;
    std::int64_t m_digits = defaultDigits;
    std::int64_t m_period = defaultPeriod;
    std::optional<Foundation::String> m_issuer;
    std::optional<Foundation::String> m_accountName;
    Foundation::ErrorPtr m_error;
};

} // namespace Shared
