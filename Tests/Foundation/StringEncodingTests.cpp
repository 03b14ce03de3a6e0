#include "Platform/Foundation/String.Encoding.hpp"

#include <gtest/gtest.h>

using namespace Foundation;

namespace {

Data bytes(std::initializer_list<std::uint8_t> values)
{
    return Data(std::vector<std::uint8_t>(values));
}

std::optional<String> decoded(std::initializer_list<std::uint8_t> values, String::Encoding encoding)
{
    return String::fromData(bytes(values), encoding);
}

} // namespace

TEST(StringEncoding, UTF8IsStrictBothWays)
{
    String text = "caf\u00e9 \U0001F600";
    EXPECT_EQ(text.data(String::Encoding::utf8()), Data::fromString(text.view()));
    EXPECT_EQ(String::fromData(Data::fromString(text.view()), String::Encoding::utf8()), text);
    EXPECT_EQ(decoded({0x61, 0xC3}, String::Encoding::utf8()), std::nullopt);
    EXPECT_EQ(decoded({0xED, 0xA0, 0x80}, String::Encoding::utf8()), std::nullopt); // an encoded surrogate
    // A byte order mark is text like any other; readers that care strip it themselves.
    EXPECT_EQ(decoded({0xEF, 0xBB, 0xBF, 0x41}, String::Encoding::utf8()), String("\uFEFFA"));
}

TEST(StringEncoding, SingleByteEncodingsRefuseWhatTheyCannotHold)
{
    EXPECT_EQ(String("abc").data(String::Encoding::ascii()), Data::fromString("abc"));
    EXPECT_EQ(String("caf\u00e9").data(String::Encoding::ascii()), std::nullopt);
    EXPECT_EQ(decoded({0x61, 0xE9}, String::Encoding::ascii()), std::nullopt);

    EXPECT_EQ(String("caf\u00e9").data(String::Encoding::isoLatin1()), bytes({0x63, 0x61, 0x66, 0xE9}));
    EXPECT_EQ(String("\u20AC").data(String::Encoding::isoLatin1()), std::nullopt);
    EXPECT_EQ(decoded({0xE9}, String::Encoding::isoLatin1()), String("\u00e9"));

    EXPECT_EQ(String("\u20AC").data(String::Encoding::windowsCP1252()), bytes({0x80}));
    EXPECT_EQ(decoded({0x8E}, String::Encoding::macOSRoman()), String("\u00e9"));
    EXPECT_EQ(String("\u65E5\u672C").data(String::Encoding::shiftJIS()), bytes({0x93, 0xFA, 0x96, 0x7B}));
}

TEST(StringEncoding, UTF16WritesHostOrderWithAMarkAndReadsEitherOrder)
{
    EXPECT_EQ(String("A\U0001F600").data(String::Encoding::utf16()), bytes({0xFF, 0xFE, 0x41, 0x00, 0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(decoded({0xFF, 0xFE, 0x41, 0x00}, String::Encoding::utf16()), String("A"));
    EXPECT_EQ(decoded({0xFE, 0xFF, 0x00, 0x41}, String::Encoding::utf16()), String("A"));
    EXPECT_EQ(decoded({0x00, 0x41}, String::Encoding::utf16()), String("A")); // no mark: big endian
    EXPECT_EQ(String("A").data(String::Encoding::utf16BigEndian()), bytes({0x00, 0x41}));
    EXPECT_EQ(decoded({0x41, 0x00}, String::Encoding::utf16LittleEndian()), String("A"));

    EXPECT_EQ(decoded({0x00, 0x41, 0x00}, String::Encoding::utf16BigEndian()), std::nullopt);  // half a unit
    EXPECT_EQ(decoded({0xD8, 0x3D, 0x00, 0x41}, String::Encoding::utf16BigEndian()), std::nullopt); // lone surrogate
}

TEST(StringEncoding, UTF32FollowsTheSameByteOrderRules)
{
    EXPECT_EQ(String("A").data(String::Encoding::utf32()), bytes({0xFF, 0xFE, 0x00, 0x00, 0x41, 0x00, 0x00, 0x00}));
    EXPECT_EQ(decoded({0x00, 0x00, 0xFE, 0xFF, 0x00, 0x01, 0xF6, 0x00}, String::Encoding::utf32()), String("\U0001F600"));
    EXPECT_EQ(decoded({0x00, 0x11, 0x00, 0x00}, String::Encoding::utf32BigEndian()), std::nullopt); // beyond Unicode
}

TEST(StringEncoding, DescriptionsNameTheEncodingAndUnknownRawValuesConvertNothing)
{
    EXPECT_EQ(String::Encoding::utf8().description(), "Unicode (UTF-8)");
    EXPECT_EQ(String::Encoding::ascii().description(), "Western (ASCII)");
    EXPECT_EQ(String::Encoding::unicode(), String::Encoding::utf16());
    String::Encoding unknown {12345};
    EXPECT_EQ(String("a").data(unknown), std::nullopt);
    EXPECT_EQ(String::fromData(Data::fromString("a"), unknown), std::nullopt);
}
