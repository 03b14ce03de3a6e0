#include "Platform/Foundation/Character.hpp"
#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/String.hpp"

#include <gtest/gtest.h>
#include <unordered_set>

using namespace Foundation;

TEST(Character, HoldsExactlyOneGraphemeCluster)
{
    EXPECT_EQ(Character("e\u0301").unicodeScalars(), U"e\u0301");
    EXPECT_EQ(Character("\U0001F1EB\U0001F1F7").utf8(), "\U0001F1EB\U0001F1F7");
    EXPECT_EQ(Character(U'\u00e9').utf8(), "\u00e9");
    EXPECT_EQ(Character(std::string("\xFF")).utf8(), "\uFFFD");
    EXPECT_DEATH(Character("ab"), "grapheme cluster");
    EXPECT_DEATH(Character(""), "grapheme cluster");
    EXPECT_DEATH(Character("\U0001F1EB\U0001F1F7\U0001F1EB"), "grapheme cluster");
}

TEST(Character, EqualityAndHashingFollowCanonicalEquivalence)
{
    EXPECT_EQ(Character("e\u0301"), Character("\u00e9"));
    EXPECT_NE(Character("e"), Character("\u00e9"));
    std::unordered_set<Character> seen {Character("\u00e9")};
    EXPECT_TRUE(seen.contains(Character("e\u0301")));
}

TEST(Character, NewlinesAndWhitespace)
{
    Character crlf("\r\n");
    EXPECT_TRUE(crlf.isNewline());
    EXPECT_TRUE(crlf.isWhitespace());
    EXPECT_EQ(crlf.asciiValue(), 10);
    EXPECT_TRUE(crlf.isASCII());
    for (const char* newline : {"\n", "\v", "\u0085", "\u2028", "\u2029"})
        EXPECT_TRUE(Character(newline).isNewline()) << newline;
    EXPECT_FALSE(Character(" ").isNewline());
    EXPECT_TRUE(Character("\u00A0").isWhitespace());
    EXPECT_TRUE(Character("\u3000").isWhitespace());
    EXPECT_FALSE(Character("\u200B").isWhitespace()); // zero-width space is a format character
}

TEST(Character, LettersNumbersAndDigits)
{
    EXPECT_TRUE(Character("e\u0301").isLetter());
    EXPECT_FALSE(Character("1").isLetter());
    EXPECT_FALSE(Character("e\u0301").isASCII());

    EXPECT_TRUE(Character("\u00BD").isNumber()); // one half
    EXPECT_FALSE(Character("\u00BD").isWholeNumber());
    EXPECT_EQ(Character("7").wholeNumberValue(), 7);
    EXPECT_EQ(Character("\u0663").wholeNumberValue(), 3);  // Arabic-Indic three
    EXPECT_EQ(Character("\u216B").wholeNumberValue(), 12); // Roman numeral twelve
    EXPECT_EQ(Character("7\u20E3").wholeNumberValue(), std::nullopt); // keycap: more than one scalar
    EXPECT_TRUE(Character("7\u20E3").isNumber());

    EXPECT_EQ(Character("F").hexDigitValue(), 15);
    EXPECT_EQ(Character("b").hexDigitValue(), 11);
    EXPECT_EQ(Character("\uFF26").hexDigitValue(), 15); // full-width F
    EXPECT_EQ(Character("\uFF19").hexDigitValue(), 9);
    for (const char* notHex : {"g", "G", "\u0663", "\uFF1A", "\uFF27"})
        EXPECT_FALSE(Character(notHex).isHexDigit()) << notHex;
}

TEST(Character, PunctuationAndSymbols)
{
    EXPECT_TRUE(Character("!").isPunctuation());
    EXPECT_TRUE(Character("\u00BF").isPunctuation());
    EXPECT_FALSE(Character("+").isPunctuation());
    EXPECT_TRUE(Character("+").isSymbol());
    EXPECT_TRUE(Character("+").isMathSymbol());
    EXPECT_TRUE(Character("\u03F0").isMathSymbol()); // a letter that is also a math symbol
    EXPECT_FALSE(Character("\u03F0").isSymbol());
    EXPECT_TRUE(Character("\u20AC").isCurrencySymbol());
    EXPECT_TRUE(Character("\u20AC").isSymbol());
    EXPECT_FALSE(Character("$").isMathSymbol());
}

TEST(Character, CaseFollowsMappingsForClusters)
{
    EXPECT_TRUE(Character("A").isUppercase());
    EXPECT_TRUE(Character("E\u0301").isUppercase());
    EXPECT_FALSE(Character("E\u0301").isLowercase());
    EXPECT_TRUE(Character("e\u0301").isLowercase());
    Character titlecase("\u01C5"); // Dz with caron, neither upper nor lower
    EXPECT_TRUE(titlecase.isCased());
    EXPECT_FALSE(titlecase.isUppercase());
    EXPECT_FALSE(titlecase.isLowercase());
    EXPECT_FALSE(Character("1").isCased());
    EXPECT_FALSE(Character("1").isUppercase());
    EXPECT_EQ(Character("\u00DF").uppercased(), String("SS"));
}

TEST(CharacterSet, PredefinedSets)
{
    const CharacterSet& whitespaces = CharacterSet::whitespaces();
    EXPECT_TRUE(whitespaces.contains(U'\t'));
    EXPECT_TRUE(whitespaces.contains(U'\u3000'));
    EXPECT_FALSE(whitespaces.contains(U'\n'));
    EXPECT_TRUE(CharacterSet::newlines().contains(U'\u2029'));
    EXPECT_FALSE(CharacterSet::newlines().contains(U' '));
    EXPECT_TRUE(CharacterSet::whitespacesAndNewlines().contains(U'\u0085'));
    EXPECT_TRUE(CharacterSet::decimalDigits().contains(U'\u0663'));
    EXPECT_FALSE(CharacterSet::decimalDigits().contains(U'\u00BD'));
    EXPECT_TRUE(CharacterSet::letters().contains(U'\u0301'));
    EXPECT_TRUE(CharacterSet::alphanumerics().contains(U'\u00BD'));
    EXPECT_TRUE(CharacterSet::uppercaseLetters().contains(U'\u01C5'));
    EXPECT_TRUE(CharacterSet::controlCharacters().contains(U'\u200B'));
    EXPECT_TRUE(CharacterSet::symbols().contains(U'\u20AC'));
    EXPECT_TRUE(CharacterSet::punctuationCharacters().contains(U'-'));

    EXPECT_TRUE(CharacterSet::urlPathAllowed().contains(U'/'));
    EXPECT_FALSE(CharacterSet::urlPathAllowed().contains(U'?'));
    EXPECT_TRUE(CharacterSet::urlQueryAllowed().contains(U'?'));
    EXPECT_FALSE(CharacterSet::urlQueryAllowed().contains(U'#'));
    EXPECT_TRUE(CharacterSet::urlHostAllowed().contains(U'['));
    EXPECT_FALSE(CharacterSet::urlHostAllowed().contains(U'/'));
    EXPECT_FALSE(CharacterSet::urlFragmentAllowed().contains(U' '));
}

TEST(CharacterSet, CopiesChangeIndependently)
{
    CharacterSet digits = CharacterSet::decimalDigits();
    digits.insert(U'x');
    digits.remove(U'5');
    digits.insert(U'\u00BD');
    EXPECT_TRUE(digits.contains(U'x'));
    EXPECT_FALSE(digits.contains(U'5'));
    EXPECT_TRUE(digits.contains(U'\u00BD'));
    EXPECT_FALSE(CharacterSet::decimalDigits().contains(U'x'));
    EXPECT_TRUE(CharacterSet::decimalDigits().contains(U'5'));

    CharacterSet copy = digits;
    copy.insert(U'y');
    EXPECT_FALSE(digits.contains(U'y'));
}

TEST(CharacterSet, Algebra)
{
    CharacterSet abc = CharacterSet::charactersIn("abc\u00e9");
    EXPECT_TRUE(abc.contains(U'\u00e9'));
    CharacterSet ab = abc.subtracting(CharacterSet::charactersIn("c\u00e9"));
    EXPECT_TRUE(ab.contains(U'a'));
    EXPECT_FALSE(ab.contains(U'c'));
    EXPECT_FALSE(ab.contains(U'\u00e9'));
    CharacterSet notAB = ab.inverted();
    EXPECT_FALSE(notAB.contains(U'a'));
    EXPECT_TRUE(notAB.contains(U'c'));
    EXPECT_TRUE(notAB.contains(U'\U0001F600'));
    EXPECT_TRUE(ab.unioning(CharacterSet::newlines()).contains(U'\n'));
    EXPECT_FALSE(CharacterSet().contains(U'a'));
}
