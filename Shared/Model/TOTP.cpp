#include "Shared/Model/TOTP.hpp"

#include "Shared/Model/Base32.hpp"
#include "Shared/Model/TOTPError.hpp"

#include "Platform/Foundation/CharacterSet.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <nettle/hmac.h>

namespace Shared {

namespace {

constexpr std::int64_t minimumDigits = 6;
constexpr std::int64_t maximumDigits = 8;
constexpr std::int64_t maximumPeriod = 366 * 24 * 3600;
constexpr std::size_t maximumSecretLength = 1024;

std::vector<std::uint8_t> hmac(TOTP::Algorithm algorithm, const Foundation::Data& key, const std::uint8_t* message, std::size_t count)
{
    switch (algorithm) {
    case TOTP::Algorithm::sha1: {
        hmac_sha1_ctx context;
        hmac_sha1_set_key(&context, key.count(), key.bytes());
        hmac_sha1_update(&context, count, message);
        std::vector<std::uint8_t> digest(SHA1_DIGEST_SIZE);
        hmac_sha1_digest(&context, digest.size(), digest.data());
        return digest;
    }
    case TOTP::Algorithm::sha256: {
        hmac_sha256_ctx context;
        hmac_sha256_set_key(&context, key.count(), key.bytes());
        hmac_sha256_update(&context, count, message);
        std::vector<std::uint8_t> digest(SHA256_DIGEST_SIZE);
        hmac_sha256_digest(&context, digest.size(), digest.data());
        return digest;
    }
    case TOTP::Algorithm::sha512: {
        hmac_sha512_ctx context;
        hmac_sha512_set_key(&context, key.count(), key.bytes());
        hmac_sha512_update(&context, count, message);
        std::vector<std::uint8_t> digest(SHA512_DIGEST_SIZE);
        hmac_sha512_digest(&context, digest.size(), digest.data());
        return digest;
    }
    }
    return {};
}

int hexValue(char character)
{
    if (character >= '0' && character <= '9')
        return character - '0';
    if (character >= 'a' && character <= 'f')
        return character - 'a' + 10;
    if (character >= 'A' && character <= 'F')
        return character - 'A' + 10;
    return -1;
}

// Strict percent-decoding: a broken escape or bytes that are not UTF-8 are refused.
Foundation::String percentDecoded(std::string_view text, const char* what)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes.push_back(text[i]);
            continue;
        }
        int high = i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
        int low = high >= 0 ? hexValue(text[i + 2]) : -1;
        if (high < 0 || low < 0)
            throw TOTPError::invalidOTPAuthURI(Foundation::String("a broken percent escape in the ") + what);
        bytes.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    auto decoded = Foundation::String::fromUTF8(bytes);
    if (!decoded)
        throw TOTPError::invalidOTPAuthURI(Foundation::String("the ") + what + " is not UTF-8");
    return *decoded;
}

bool equalsIgnoringCase(std::string_view lhs, std::string_view rhs)
{
    if (lhs.size() != rhs.size())
        return false;
    for (std::size_t i = 0; i < lhs.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(lhs[i])) != std::tolower(static_cast<unsigned char>(rhs[i])))
            return false;
    }
    return true;
}

std::optional<std::int64_t> integer(const Foundation::String& text)
{
    std::int64_t value = 0;
    const auto& bytes = text.utf8();
    auto [end, error] = std::from_chars(bytes.data(), bytes.data() + bytes.size(), value);
    if (error != std::errc() || end != bytes.data() + bytes.size() || bytes.empty())
        return std::nullopt;
    return value;
}

std::optional<Foundation::String> nonEmpty(Foundation::String text)
{
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

} // namespace

TOTP::TOTP(const Foundation::String& otpAuthUriOrSecretString)
{
    try {
        read(otpAuthUriOrSecretString);
        m_secretKeyState = SecretKeyState::valid;
    } catch (const TOTPError& error) {
        m_secret = {};
        m_secretKeyState = SecretKeyState::invalid;
        m_error = error.clone();
    }
}

TOTP TOTP::parse(const Foundation::String& otpAuthUriOrSecretString)
{
    TOTP totp;
    totp.read(otpAuthUriOrSecretString);
    totp.m_secretKeyState = SecretKeyState::valid;
    return totp;
}

Foundation::String TOTP::invalidSecretKeyText()
{
    return "Invalid Secret Key";
}

void TOTP::read(const Foundation::String& text)
{
    if (text.utf8().size() > maximumTextLength)
        throw TOTPError::invalidSecretKey("longer than " + std::to_string(maximumTextLength) + " bytes");
    auto trimmed = text.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines());
    const auto& bytes = trimmed.utf8();
    if (bytes.size() >= 8 && equalsIgnoringCase(std::string_view(bytes).substr(0, 8), "otpauth:"))
        return readURI(bytes);
    if (bytes.size() > maximumSecretLength)
        throw TOTPError::invalidSecretKey("too long");
    m_secret = Base32::decode(trimmed);
}

void TOTP::readURI(const std::string& text)
{
    // otpauth://totp/LABEL?PARAMETERS, the label optional.
    std::string_view rest(text);
    rest.remove_prefix(8);
    if (rest.substr(0, 2) != "//")
        throw TOTPError::invalidOTPAuthURI("no \"//\" after the scheme");
    rest.remove_prefix(2);
    auto fragment = rest.find('#');
    if (fragment != std::string_view::npos)
        rest = rest.substr(0, fragment);
    auto query = rest.find('?');
    std::string_view authorityAndPath = rest.substr(0, query);
    std::string_view parameters = query == std::string_view::npos ? std::string_view() : rest.substr(query + 1);
    auto slash = authorityAndPath.find('/');
    std::string_view type = authorityAndPath.substr(0, slash);
    if (equalsIgnoringCase(type, "hotp"))
        throw TOTPError::invalidOTPAuthURI("counter-based (hotp) codes are not supported");
    if (!equalsIgnoringCase(type, "totp"))
        throw TOTPError::invalidOTPAuthURI("not a totp link");
    if (slash != std::string_view::npos) {
        auto label = percentDecoded(authorityAndPath.substr(slash + 1), "label");
        auto separator = label.range(":");
        if (separator) {
            m_issuer = nonEmpty(label.substring(label.startIndex(), separator->lowerBound)
                                    .trimmingCharacters(Foundation::CharacterSet::whitespaces()));
            m_accountName = nonEmpty(label.substring(separator->upperBound, label.endIndex())
                                         .trimmingCharacters(Foundation::CharacterSet::whitespaces()));
        } else {
            m_accountName = nonEmpty(label);
        }
    }

    std::map<std::string, Foundation::String> values;
    std::size_t start = 0;
    while (start <= parameters.size() && !parameters.empty()) {
        auto end = parameters.find('&', start);
        auto pair = parameters.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!pair.empty()) {
            auto equals = pair.find('=');
            std::string name(pair.substr(0, equals));
            for (auto& character : name)
                character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
            auto value = equals == std::string_view::npos ? Foundation::String() : percentDecoded(pair.substr(equals + 1), "parameters");
            if (!values.emplace(name, value).second)
                throw TOTPError::invalidOTPAuthURI("the parameter \"" + name + "\" appears twice");
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }

    auto secret = values.find("secret");
    if (secret == values.end() || secret->second.isEmpty())
        throw TOTPError::invalidOTPAuthURI("no secret");
    if (secret->second.utf8().size() > maximumSecretLength)
        throw TOTPError::invalidSecretKey("too long");
    m_secret = Base32::decode(secret->second);
    if (auto issuer = values.find("issuer"); issuer != values.end() && !issuer->second.isEmpty())
        m_issuer = issuer->second;
    if (auto algorithm = values.find("algorithm"); algorithm != values.end()) {
        const auto& name = algorithm->second.utf8();
        if (equalsIgnoringCase(name, "SHA1"))
            m_algorithm = Algorithm::sha1;
        else if (equalsIgnoringCase(name, "SHA256"))
            m_algorithm = Algorithm::sha256;
        else if (equalsIgnoringCase(name, "SHA512"))
            m_algorithm = Algorithm::sha512;
        else
            throw TOTPError::unsupportedAlgorithm(algorithm->second.prefix(32));
    }
    if (auto digits = values.find("digits"); digits != values.end()) {
        auto value = integer(digits->second);
        if (!value || *value < minimumDigits || *value > maximumDigits)
            throw TOTPError::invalidDigits(digits->second.prefix(32));
        m_digits = *value;
    }
    if (auto period = values.find("period"); period != values.end()) {
        auto value = integer(period->second);
        if (!value || *value < 1 || *value > maximumPeriod)
            throw TOTPError::invalidPeriod(period->second.prefix(32));
        m_period = *value;
    }
}

Foundation::String TOTP::generateHOTP(const Foundation::Data& secret, std::uint64_t counter, std::int64_t digits, Algorithm algorithm)
{
    std::uint8_t message[8];
    for (int i = 7; i >= 0; --i) {
        message[i] = static_cast<std::uint8_t>(counter & 0xff);
        counter >>= 8;
    }
    auto digest = hmac(algorithm, secret, message, sizeof message);
    // Dynamic truncation (RFC 4226, 5.3).
    std::size_t offset = digest.back() & 0x0f;
    std::uint32_t binary = (static_cast<std::uint32_t>(digest[offset] & 0x7f) << 24) | (static_cast<std::uint32_t>(digest[offset + 1]) << 16)
        | (static_cast<std::uint32_t>(digest[offset + 2]) << 8) | static_cast<std::uint32_t>(digest[offset + 3]);
    // 10^10 does not fit 32 bits; the truncated value is below 2^31, so more than ten digits only pad.
    std::uint64_t modulus = 1;
    for (std::int64_t i = 0; i < std::min<std::int64_t>(digits, 10); ++i)
        modulus *= 10;
    auto code = std::to_string(binary % modulus);
    auto width = static_cast<std::size_t>(std::max<std::int64_t>(digits, 0));
    return Foundation::String(std::string(width > code.size() ? width - code.size() : 0, '0') + code);
}

Foundation::String TOTP::generate(Foundation::Date date) const
{
    if (m_secretKeyState != SecretKeyState::valid) {
        if (m_error)
            m_error->raise();
        throw TOTPError::invalidSecretKey("empty");
    }
    double seconds = std::floor(date.timeIntervalSince1970());
    auto counter = seconds <= 0 ? 0 : static_cast<std::uint64_t>(seconds) / static_cast<std::uint64_t>(m_period);
    return generateHOTP(m_secret, counter, m_digits, m_algorithm);
}

Foundation::String TOTP::generateFormatted(Foundation::Date date) const
{
    auto code = generate(date).utf8();
    std::size_t split = code.size() == 8 ? 4 : 3;
    return Foundation::String(code.substr(0, split) + " " + code.substr(split));
}

Foundation::String TOTP::generateOrInvalidSecretKeyText(Foundation::Date date) const
{
    try {
        return generate(date);
    } catch (const TOTPError&) {
        return invalidSecretKeyText();
    }
}

double TOTP::secondsRemaining(Foundation::Date date) const
{
    double seconds = date.timeIntervalSince1970();
    double period = static_cast<double>(m_period);
    return period - std::fmod(std::max(seconds, 0.0), period);
}

} // namespace Shared
