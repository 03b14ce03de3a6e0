#include "Basalwork/Base/CreditCardNumber.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Pattern = CreditCardNumber::SpacingPattern;

TEST(CreditCardNumber, KeepsTheTrimmedTextAndItsDigits)
{
    CreditCardNumber number(" \t4111-1111 1111-1111 \n");
    EXPECT_EQ(number.unformatted(), "4111-1111 1111-1111");
    EXPECT_EQ(number.withoutSpaces(), "4111111111111111");
    EXPECT_EQ(number.withSpaces(), "4111 1111 1111 1111");
    EXPECT_EQ(number.masked(), "4111 **** 1111");
    EXPECT_EQ(CreditCardNumber("card no. 12ab34").withoutSpaces(), "1234");
}

TEST(CreditCardNumber, DigitsOfAnyScriptCount)
{
    // Arabic-Indic digits are numbers like ASCII ones; 16 of them group as four fours.
    std::string digits;
    for (int i = 0; i < 16; ++i)
        digits += "\u0661";
    CreditCardNumber number(digits);
    EXPECT_EQ(number.withoutSpaces().count(), 16);
    EXPECT_EQ(number.withSpaces().count(), 19);
}

TEST(CreditCardNumber, GroupsFollowTheNumberOfDigits)
{
    EXPECT_EQ(CreditCardNumber("1234567890123").withSpaces(), "1234 5678 90123");
    EXPECT_EQ(CreditCardNumber("12345678901234").withSpaces(), "1234 567890 1234");
    EXPECT_EQ(CreditCardNumber("378282246310005").withSpaces(), "3782 822463 10005");
    EXPECT_EQ(CreditCardNumber("100000000000009").withSpaces(), "1000 00000 000009");
    EXPECT_EQ(CreditCardNumber("1234567890123456789").withSpaces(), "1234 5678 9012 3456 789");
    EXPECT_EQ(CreditCardNumber("123456789012").withSpaces(), "123456789012");
    EXPECT_EQ(CreditCardNumber("12345678901234567").withSpaces(), "12345678901234567");
}

TEST(CreditCardNumber, MaskingShowsOnlyTheEnds)
{
    EXPECT_EQ(CreditCardNumber("1234567890123456789").masked(), "1234 **** 789");
    EXPECT_EQ(CreditCardNumber("378282246310005").masked(), "3782 **** 0005");
    EXPECT_EQ(CreditCardNumber("12345678901234567").masked(), "1234 **** 4567");
    EXPECT_EQ(CreditCardNumber("123456789012").masked(), "****");
    EXPECT_EQ(CreditCardNumber("").masked(), "****");
    EXPECT_EQ(CreditCardNumber("   ").withSpaces(), "");
    EXPECT_EQ(CreditCardNumber("   ").withoutSpaces(), "");
}

TEST(CreditCardNumberSpacingPattern, ChosenByDigitCountAndFirstDigit)
{
    EXPECT_EQ(Pattern("4111 1111 1111 1111"), Pattern::fourFourFourFour);
    EXPECT_EQ(Pattern("3" + std::string(14, '0')), Pattern::fourSixFive);
    EXPECT_EQ(Pattern("1" + std::string(14, '0')), Pattern::fourFiveSix);
    EXPECT_EQ(Pattern(std::string(19, '5')), Pattern::fourFourFourFourThree);
    EXPECT_EQ(Pattern(""), Pattern::unknown);
    for (int digits = 0; digits < 25; ++digits)
        EXPECT_NE(Pattern(std::string(static_cast<std::size_t>(digits), '6')), Pattern::sixThirteen);
}

TEST(CreditCardNumberSpacingPattern, CasesInDeclaredOrderWithTheirSpaces)
{
    auto cases = Pattern::allCases();
    ASSERT_EQ(cases.size(), 8u);
    EXPECT_EQ(cases[2], Pattern::sixThirteen);
    EXPECT_EQ(cases[7], Pattern::unknown);
    EXPECT_EQ(Pattern(Pattern::sixThirteen).indiciesOfSpaces(), (std::vector<std::int64_t> {6}));
    EXPECT_TRUE(Pattern(Pattern::unknown).indiciesOfSpaces().empty());
}
