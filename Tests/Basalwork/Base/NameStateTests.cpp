#include "Basalwork/Base/NameState.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/DecodingError.hpp"
#include "Platform/Foundation/JSONDecoder.hpp"
#include "Platform/Foundation/JSONEncoder.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::String;

TEST(NameState, AnEmptyNameStillCountsAsGiven)
{
    EXPECT_EQ(NameState(String("Ada"), String("Lovelace")), NameState::firstAndLastName("Ada", "Lovelace"));
    EXPECT_EQ(NameState(String(""), std::nullopt), NameState::firstNameOnly(""));
    EXPECT_EQ(NameState(std::nullopt, String("Lovelace")), NameState::lastNameOnly("Lovelace"));
    EXPECT_EQ(NameState(std::nullopt, std::nullopt), NameState::noName());
    EXPECT_EQ(NameState(String(""), std::nullopt).fullname(NameFormat::firstLast, true), String(""));
}

TEST(NameState, FullNameFollowsTheFormatAndComma)
{
    NameState both("Ada", "Lovelace");
    EXPECT_EQ(both.fullname(NameFormat::firstLast, false), "Ada Lovelace");
    EXPECT_EQ(both.fullname(NameFormat::firstLast, true), "Ada, Lovelace");
    EXPECT_EQ(both.fullname(NameFormat::lastFirst, false), "Lovelace Ada");
    EXPECT_EQ(both.fullname(NameFormat::lastFirst, true), "Lovelace, Ada");
    EXPECT_EQ(NameState::lastNameOnly("Lovelace").fullname(NameFormat::lastFirst, true), "Lovelace");
    EXPECT_EQ(NameState::noName().fullname(NameFormat::firstLast, false), std::nullopt);
}

TEST(NameFormat, CodedAsItsRawValue)
{
    EXPECT_EQ(NameFormat::allCases()[0], NameFormat::firstLast);
    EXPECT_EQ(NameFormat::fromRawValue("lastFirst"), NameFormat::lastFirst);
    EXPECT_EQ(NameFormat::fromRawValue("LastFirst"), std::nullopt);

    std::vector<NameFormat> formats = {NameFormat::lastFirst, NameFormat::firstLast};
    auto json = Foundation::make<Foundation::JSONEncoder>()->encode(formats);
    EXPECT_EQ(json.view(), R"(["lastFirst","firstLast"])");
    EXPECT_EQ(Foundation::make<Foundation::JSONDecoder>()->decode<std::vector<NameFormat>>(json), formats);
    EXPECT_THROW(Foundation::make<Foundation::JSONDecoder>()->decode<std::vector<NameFormat>>(Foundation::Data::fromString(R"(["first"])")),
                 Foundation::DecodingError);
}
