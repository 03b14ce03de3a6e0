#include "Basalwork/Base/Character.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::Character;
using Foundation::String;

TEST(CharacterTest, NewlinesAreJudgedByTheirFirstScalar)
{
    ASSERT_EQ(Characters::newlines().size(), 8u);
    EXPECT_EQ(Characters::newlines()[4], Character("\r\n"));
    for (const auto& newline : Characters::newlines()) {
        EXPECT_TRUE(isNewline(newline)) << newline.utf8();
        EXPECT_FALSE(isNotNewline(newline));
    }
    EXPECT_FALSE(isNewline(std::optional<Character>()));
    EXPECT_FALSE(isNewline(Character(U'\t')));
    EXPECT_TRUE(isNotNewline(Characters::space()));
}

TEST(CharacterTest, TestsAgainstTheNamedCharacters)
{
    EXPECT_TRUE(isQuote(Characters::quote()));
    EXPECT_FALSE(isQuote(Character("\"\u0301")));
    EXPECT_FALSE(isQuote(std::nullopt));
    EXPECT_TRUE(isComma(Character(U',')));
    EXPECT_FALSE(isComma(std::nullopt));
    EXPECT_TRUE(isBackslash(Character(U'\\')));
    EXPECT_TRUE(isByteOrderMark(Character(U'\uFEFF')));
    EXPECT_TRUE(isLetterOrNumber(Character(U'\u0663')));
    EXPECT_TRUE(isLetterOrNumber(Character("e\u0301")));
    EXPECT_FALSE(isLetterOrNumber(Character(U'_')));
    EXPECT_EQ(utf8Data(Character(U'\u00E9')), Foundation::Data::fromString("\xC3\xA9"));
}

TEST(CharacterTest, NormalizedFoldsLatinLettersToLowerCaseASCII)
{
    EXPECT_EQ(normalized(Character(U'\u00C9')), String("e"));
    EXPECT_EQ(normalized(Character("E\u0301")), String("e"));
    EXPECT_EQ(normalized(Character(U'\u00DF')), String("ss"));
    EXPECT_EQ(normalized(Character(U'Q')), String("q"));
    EXPECT_EQ(normalized(Character(U'\u4E2D')), String("\u4E2D"));
}
