#include "Platform/Foundation/Data.hpp"

#include <gtest/gtest.h>

using namespace Foundation;

TEST(Data, Base64RoundTripsEveryPaddingLength)
{
    const char* encoded[] = {"", "YQ==", "YWI=", "YWJj", "YWJjZA=="};
    const char* plain[] = {"", "a", "ab", "abc", "abcd"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Data::fromString(plain[i]).base64EncodedString(), encoded[i]);
        EXPECT_EQ(Data::fromBase64(encoded[i]), Data::fromString(plain[i]));
    }
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(Data::fromBase64(Data(all).base64EncodedString()), Data(all));
}

TEST(Data, RejectsMalformedBase64)
{
    for (const char* bad : {"YQ=", "Y===", "YQ==YQ==", "Y Q=", "YQ=a", "!!!!"}) {
        EXPECT_EQ(Data::fromBase64(bad), std::nullopt) << bad;
        EXPECT_FALSE(Data::isBase64(bad)) << bad;
    }
    EXPECT_TRUE(Data::isBase64("YWJjZA=="));
}

TEST(Data, SearchesWithinARange)
{
    auto data = Data::fromString("abcabc");
    EXPECT_EQ(data.range(Data::fromString("bc")), (Data::Range {1, 3}));
    EXPECT_EQ(data.range(Data::fromString("bc"), Data::Range {2, 6}), (Data::Range {4, 6}));
    EXPECT_EQ(data.range(Data::fromString("bc"), Data::Range {2, 4}), std::nullopt);
    EXPECT_EQ(data.range(Data()), std::nullopt);
    EXPECT_EQ(data.subdata({1, 4}), Data::fromString("bca"));
}

TEST(DataDeathTest, SubdataOutOfBoundsStops)
{
    EXPECT_DEATH(Data::fromString("ab").subdata({1, 3}), "out of bounds");
}
