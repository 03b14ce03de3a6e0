#include "Shared/Crypto/PasswordGenerator.hpp"

#include "Basalwork/Base/JSONCoder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

using namespace Shared;

TEST(PasswordGeneratorTests, EachKindFollowsItsSettings)
{
    PasswordGenerator generator;
    generator.random = {24, true, true};
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i) {
        auto password = generator.generate().utf8();
        EXPECT_EQ(password.size(), 24u);
        EXPECT_TRUE(std::any_of(password.begin(), password.end(), ::isdigit)) << password;
        EXPECT_TRUE(std::any_of(password.begin(), password.end(), ::ispunct)) << password;
        seen.insert(password);
    }
    EXPECT_EQ(seen.size(), 50u);

    generator.random = {2, false, false};
    auto letters = generator.generate().utf8();
    EXPECT_EQ(letters.size(), 8u) << "lengths are brought within bounds";
    EXPECT_TRUE(std::all_of(letters.begin(), letters.end(), ::isalpha));

    generator.kind = PasswordGenerator::Kind::words;
    generator.words = {4, "."};
    auto words = generator.generate().utf8();
    EXPECT_EQ(std::count(words.begin(), words.end(), '.'), 3);

    generator.kind = PasswordGenerator::Kind::pin;
    generator.pin.length = 7;
    auto pin = generator.generate().utf8();
    EXPECT_EQ(pin.size(), 7u);
    EXPECT_TRUE(std::all_of(pin.begin(), pin.end(), ::isdigit));

    auto coder = Basalwork::JSONCoder::shared();
    EXPECT_EQ(coder->decode<PasswordGenerator>(coder->encode(generator)), generator);
}
