#include "Shared/Model/Base32.hpp"
#include "Shared/Model/TOTP.hpp"
#include "Shared/Model/TOTPError.hpp"

#include <gtest/gtest.h>

using namespace Shared;

namespace {

Foundation::Data bytes(const char* text)
{
    return Foundation::Data::fromString(text);
}

Foundation::Date unix(double seconds)
{
    return Foundation::Date::fromTimeIntervalSince1970(seconds);
}

Foundation::String uri(const Foundation::Data& seed, const char* algorithm)
{
    return Foundation::String("otpauth://totp/Example:alice@example.com?secret=") + Base32::encode(seed) + "&algorithm=" + algorithm
        + "&digits=8&period=30";
}

// What the error says must not give the secret away.
void expectRefused(const Foundation::String& text, const std::string& secretPart)
{
    try {
        TOTP::parse(text);
        ADD_FAILURE() << "accepted " << text.utf8();
    } catch (const TOTPError& error) {
        EXPECT_EQ(error.description().find(secretPart), std::string::npos) << error.description();
    }
    EXPECT_EQ(TOTP(text).generateOrInvalidSecretKeyText(unix(0)), TOTP::invalidSecretKeyText());
    EXPECT_EQ(TOTP(text).secretKeyState(), TOTP::SecretKeyState::invalid);
}

} // namespace

TEST(TOTPTests, HOTPMatchesTheRFC4226Vectors)
{
    const char* expected[] = {"755224", "287082", "359152", "969429", "338314", "254676", "287922", "162583", "399871", "520489"};
    for (std::uint64_t counter = 0; counter < 10; ++counter)
        EXPECT_EQ(TOTP::generateHOTP(bytes("12345678901234567890"), counter, 6, TOTP::Algorithm::sha1), expected[counter]) << counter;
    // Ten digits show the whole truncated value, which is past what a 32-bit modulus can hold.
    const char* whole[] = {"1284755224", "1094287082", "0137359152", "1726969429", "1640338314",
                           "0868254676", "1918287922", "0082162583", "0673399871", "0645520489"};
    for (std::uint64_t counter = 0; counter < 10; ++counter)
        EXPECT_EQ(TOTP::generateHOTP(bytes("12345678901234567890"), counter, 10, TOTP::Algorithm::sha1), whole[counter]) << counter;
}

TEST(TOTPTests, TOTPMatchesTheRFC6238VectorsForAllThreeHashes)
{
    struct Vector {
        double time;
        const char* sha1;
        const char* sha256;
        const char* sha512;
    };
    const Vector vectors[] = {
        {59, "94287082", "46119246", "90693936"},
        {1111111109, "07081804", "68084774", "25091201"},
        {1111111111, "14050471", "67062674", "99943326"},
        {1234567890, "89005924", "91819424", "93441116"},
        {2000000000, "69279037", "90698825", "38618901"},
        {20000000000, "65353130", "77737706", "47863826"},
    };
    TOTP sha1(uri(bytes("12345678901234567890"), "SHA1"));
    TOTP sha256(uri(bytes("12345678901234567890123456789012"), "SHA256"));
    TOTP sha512(uri(bytes("1234567890123456789012345678901234567890123456789012345678901234"), "SHA512"));
    for (const auto& vector : vectors) {
        EXPECT_EQ(sha1.generate(unix(vector.time)), vector.sha1) << vector.time;
        EXPECT_EQ(sha256.generate(unix(vector.time)), vector.sha256) << vector.time;
        EXPECT_EQ(sha512.generate(unix(vector.time)), vector.sha512) << vector.time;
    }
    EXPECT_EQ(sha1.generateFormatted(unix(59)), "9428 7082");
}

TEST(TOTPTests, ReadsLinksAndBareSecrets)
{
    TOTP link("otpauth://totp/ACME%20Co:john%40example.com?secret=JBSWY3DPEHPK3PXP&issuer=ACME%20Co&period=60");
    ASSERT_EQ(link.secretKeyState(), TOTP::SecretKeyState::valid);
    EXPECT_EQ(link.issuer(), Foundation::String("ACME Co"));
    EXPECT_EQ(link.accountName(), Foundation::String("john@example.com"));
    EXPECT_EQ(link.period(), 60);
    EXPECT_EQ(link.digits(), 6);
    EXPECT_EQ(link.secondsRemaining(unix(125)), 55);

    // Grouped, lower-case and padded secrets read alike.
    TOTP bare("jbsw y3dp-ehpk 3pxp");
    EXPECT_EQ(bare.generate(unix(1000)), TOTP("JBSWY3DPEHPK3PXP").generate(unix(1000)));
    EXPECT_EQ(Base32::decode("MZXW6==="), bytes("foo"));
    EXPECT_EQ(Base32::encode(bytes("foobar")), "MZXW6YTBOI");
}

TEST(TOTPTests, InvalidBase32GivesTheInvalidSecretText)
{
    EXPECT_EQ(TOTP("not base32!").generateOrInvalidSecretKeyText(unix(0)), "Invalid Secret Key");
    EXPECT_EQ(TOTP("").generateOrInvalidSecretKeyText(unix(0)), "Invalid Secret Key");
    EXPECT_THROW(TOTP("ABC1").generate(unix(0)), TOTPError);
    EXPECT_THROW(Base32::decode("MZ=XW6"), TOTPError);
    EXPECT_THROW(Base32::decode("A"), TOTPError);
}

TEST(TOTPTests, HostileLinksAreRefusedWithClearErrors)
{
    expectRefused("otpauth://hotp/x?secret=JBSWY3DPEHPK3PXP&counter=1", "JBSWY3DP");
    expectRefused("otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&secret=JBSWY3DPEHPK3PXP", "JBSWY3DP");
    expectRefused("otpauth://totp/x%ZZ?secret=JBSWY3DPEHPK3PXP", "JBSWY3DP");
    expectRefused("otpauth://totp/x?secret=JBSWY3DPEHPK3PX%", "JBSWY3DP");
    expectRefused("otpauth://totp/x%FF%FE?secret=JBSWY3DPEHPK3PXP", "JBSWY3DP");
    expectRefused("otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&digits=12", "JBSWY3DP");
    expectRefused("otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&period=0", "JBSWY3DP");
    expectRefused("otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&period=-30", "JBSWY3DP");
    expectRefused("otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&algorithm=MD5", "JBSWY3DP");
    expectRefused("otpauth://totp/x?issuer=Nobody", "JBSWY3DP");
    expectRefused("otpauth:totp/x?secret=JBSWY3DPEHPK3PXP", "JBSWY3DP");
    expectRefused("otpauth://totp/x?secret=JBSWY3DP%00EHPK3PXP", "JBSWY3DP");
    expectRefused(Foundation::String("otpauth://totp/x?secret=") + std::string(5000, 'A'), "AAAAAAAA");

    try {
        TOTP::parse("otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&digits=12");
    } catch (const TOTPError& error) {
        EXPECT_TRUE(error.is<TOTPError::InvalidDigits>());
        EXPECT_EQ(error.domain(), "Shared.TOTPError");
        EXPECT_FALSE(error.shouldTrackInAnalytics());
    }
}
