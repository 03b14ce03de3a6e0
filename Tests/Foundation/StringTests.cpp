#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/String.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <iterator>
#include <unordered_map>

using namespace Foundation;

namespace {

const char* const decomposedE = "e\u0301";
const char* const composedE = "\u00e9";
const char* const flag = "\U0001F1EB\U0001F1F7";     // two regional indicators
const char* const family = "\U0001F469\u200D\U0001F467"; // joined by ZWJ

std::vector<String> strings(std::initializer_list<const char*> texts)
{
    return {texts.begin(), texts.end()};
}

} // namespace

static_assert(std::forward_iterator<String::CharacterIterator>);

TEST(String, CountsGraphemeClusters)
{
    EXPECT_EQ(String(decomposedE).count(), 1);
    EXPECT_EQ(String(flag).count(), 1);
    EXPECT_EQ(String(std::string(flag) + flag).count(), 2);
    EXPECT_EQ(String(family).count(), 1);
    EXPECT_EQ(String("\r\n").count(), 1);
    EXPECT_EQ(String("a\r\nb\n\r").count(), 5);
    EXPECT_EQ(String("x\u0301y").count(), 2);
    EXPECT_EQ(String("").count(), 0);

    std::vector<std::string> seen;
    for (const Character& c : String(std::string("a\r\n") + decomposedE + flag))
        seen.push_back(c.utf8());
    EXPECT_EQ(seen, (std::vector<std::string> {"a", "\r\n", decomposedE, flag}));
}

TEST(String, ASCIIFastPathDefersToNonASCIINeighbours)
{
    // A combining mark after ASCII, or a prepended mark before it, joins the ASCII into its character.
    String combining("ae\u0301");
    EXPECT_EQ(combining.characters().back().utf8(), decomposedE);
    String prepended("\u06001");
    EXPECT_EQ(prepended.count(), 1);
    EXPECT_EQ(prepended.last()->utf8(), "\u06001");
    EXPECT_EQ(prepended.indexBefore(prepended.endIndex()), prepended.startIndex());
}

TEST(String, EqualityAndHashingFollowCanonicalEquivalence)
{
    EXPECT_EQ(String(decomposedE), String(composedE));
    EXPECT_EQ(String(decomposedE).hash(), String(composedE).hash());
    EXPECT_EQ(String("\u212A"), String("K")); // KELVIN SIGN decomposes to ASCII
    EXPECT_NE(String("e"), String(composedE));

    std::unordered_map<String, int> byName {{String(std::string("caf") + composedE), 1}};
    EXPECT_EQ(byName.count(String(std::string("caf") + decomposedE)), 1u);
}

TEST(String, OrdersByScalarsOfTheNormalizedForm)
{
    EXPECT_EQ(String(decomposedE) <=> String(composedE), std::strong_ordering::equal);
    EXPECT_LT(String("Z"), String("a"));
    EXPECT_LT(String("z"), String(decomposedE)); // U+00E9 sorts after z, though "e" alone would not
    EXPECT_LT(String("ab"), String("abc"));
}

TEST(String, RepairsInvalidUTF8ButStrictDecodingRefusesIt)
{
    EXPECT_EQ(String(std::string("a\xFF" "b")).utf8(), "a\uFFFDb");
    EXPECT_EQ(String(std::string("\xE2\x82" "a")).utf8(), "\uFFFDa");          // truncated sequence: one
    EXPECT_EQ(String(std::string("\xED\xA0\x80")).utf8(), "\uFFFD\uFFFD\uFFFD"); // encoded surrogate: each byte
    EXPECT_EQ(String::fromScalars(U"a\xD800").utf8(), "a\uFFFD");
    EXPECT_FALSE(String::fromUTF8("a\xFF").has_value());
    EXPECT_EQ(String::fromUTF8(composedE)->utf8(), composedE);
}

TEST(String, IndicesStepOverWholeCharacters)
{
    String text(std::string("a") + decomposedE + "\r\nb");
    String::Index second = text.index(text.startIndex());
    EXPECT_EQ(text[second].utf8(), decomposedE);
    String::Index third = text.index(second);
    EXPECT_EQ(text[third].utf8(), "\r\n");
    EXPECT_EQ(text.indexBefore(text.endIndex()).offset, text.endIndex().offset - 1);
    EXPECT_EQ(text.indexBefore(text.indexBefore(text.endIndex())), third);
    EXPECT_EQ(text.substring(second, text.endIndex()), String(std::string(composedE) + "\r\nb"));
}

TEST(String, OffsetByHonoursLimitsOnlyInTheDirectionOfTravel)
{
    String text(std::string("ab") + decomposedE + "d");
    String::Index start = text.startIndex();
    String::Index end = text.endIndex();
    EXPECT_EQ(text.index(start, 4), end);
    EXPECT_EQ(text.index(end, -2), text.index(start, 2));
    EXPECT_EQ(text.index(start, 4, end), end); // landing on the limit is allowed
    EXPECT_EQ(text.index(start, 5, end), std::nullopt);
    String::Index two = *text.index(start, 2);
    EXPECT_EQ(text.index(start, 3, two), std::nullopt);
    EXPECT_EQ(text.index(end, -3, two), std::nullopt);
    EXPECT_EQ(text.index(two, 1, start), text.index(start, 3)); // a limit behind is ignored
    EXPECT_EQ(text.index(two, -2, end), start);
    EXPECT_EQ(text.index(start, 3, String::Index {3}), std::nullopt); // a limit inside a character is passed
    EXPECT_DEATH(text.index(start, 5), "out of bounds");
    EXPECT_DEATH(text.indexBefore(start), "out of bounds");
}

TEST(String, PrefixSuffixAndDropCountCharacters)
{
    String text(std::string(flag) + decomposedE + "xy");
    EXPECT_EQ(text.prefix(2), String(std::string(flag) + composedE));
    EXPECT_EQ(text.suffix(3), String(std::string(composedE) + "xy"));
    EXPECT_EQ(text.dropFirst(), String(std::string(composedE) + "xy"));
    EXPECT_EQ(text.dropLast(3), String(flag));
    EXPECT_EQ(text.prefix(10), text);
    EXPECT_TRUE(text.dropFirst(10).isEmpty());
    EXPECT_EQ(text.first()->utf8(), flag);
    EXPECT_EQ(text.last()->utf8(), "y");
    EXPECT_FALSE(String().first().has_value());
}

TEST(String, PrefixSuffixAndSearchCompareWholeCharacters)
{
    EXPECT_FALSE(String("\r\n").hasPrefix("\r"));
    EXPECT_FALSE(String("\r\n").hasSuffix("\n"));
    EXPECT_FALSE(String(std::string(decomposedE) + "x").hasPrefix("e"));
    EXPECT_TRUE(String(std::string(decomposedE) + "x").hasPrefix(composedE));
    EXPECT_TRUE(String(std::string("x") + composedE).hasSuffix(decomposedE));
    EXPECT_TRUE(String("abc").hasPrefix(""));

    EXPECT_FALSE(String("a\r\nb").contains("\n"));
    EXPECT_FALSE(String("a\r\nb").contains(Character("\r")));
    EXPECT_TRUE(String("a\r\nb").contains("\r\nb"));
    EXPECT_FALSE(String(decomposedE).contains("e"));
    String text(std::string("caf") + decomposedE + " caf" + composedE);
    String::Range found = *text.range(std::string("f") + composedE);
    EXPECT_EQ(found.lowerBound.offset, 2u);
    EXPECT_EQ(text[found], String(std::string("f") + composedE));
    EXPECT_EQ(text.range("zz"), std::nullopt);
    EXPECT_EQ(text.replacingOccurrences(composedE, "e"), String("cafe cafe"));
    EXPECT_EQ(String("aaa").replacingOccurrences("aa", "b"), String("ba"));
}

TEST(String, SplitFollowsTheStandardLibrary)
{
    String text(",a,,b,");
    EXPECT_EQ(text.split(","), strings({"a", "b"}));
    EXPECT_EQ(text.split(",", std::numeric_limits<std::int64_t>::max(), false), strings({"", "a", "", "b", ""}));
    EXPECT_EQ(text.split(",", 1), strings({"a", ",b,"}));
    EXPECT_EQ(text.split(",", 2, false), strings({"", "a", ",b,"}));
    EXPECT_EQ(text.split(",", 0), strings({",a,,b,"}));
    EXPECT_TRUE(String().split(",").empty());
    EXPECT_EQ(String().split(",", 5, false), strings({""}));
    EXPECT_EQ(String("a\r\nb\nc").split("\n"), strings({"a\r\nb", "c"}));
    EXPECT_EQ(String(std::string("x") + composedE + "y").split(Character(decomposedE)), strings({"x", "y"}));
    EXPECT_EQ(String("one two\u3000three").split([](const Character& c) { return c.isWhitespace(); }),
              strings({"one", "two", "three"}));
}

TEST(String, SplittingAtASpaceLeavesSpacesThatBelongToLargerCharacters)
{
    // A combining mark after a space, or a prepended mark before it, makes the space part of a larger
    // character; the cut at the space must agree with a walk over every character.
    const std::vector<std::string> pieces {"a", "é", " ", " ", "  ", "\u0301", "\u0600", "\U0001F469\u200D\U0001F4BB",
                                           "\r\n", "\u0915\u094D"};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string raw;
        for (std::size_t i = random() % 12; i > 0; --i)
            raw += pieces[random() % pieces.size()];
        String text(raw);
        auto isSpace = [](const Character& c) { return c == Character(U' '); };
        for (bool omitting : {true, false}) {
            for (std::int64_t maxSplits : {std::int64_t(1), std::numeric_limits<std::int64_t>::max()})
                ASSERT_EQ(text.split(Character(U' '), maxSplits, omitting), text.split(isSpace, maxSplits, omitting)) << raw;
        }
    }
    EXPECT_EQ(String("a ́b c").split(Character(U' ')), strings({"a ́b", "c"}));
}

TEST(String, ComponentsKeepEmptyPieces)
{
    EXPECT_EQ(String("a,,b,").components(","), strings({"a", "", "b", ""}));
    EXPECT_EQ(String("").components(","), strings({""}));
    EXPECT_EQ(String("a, b, c").components(", "), strings({"a", "b", "c"}));
    EXPECT_EQ(String("abc").components(""), strings({"abc"}));
    EXPECT_EQ(String("a\r\nb").components("\n"), strings({"a\r\nb"}));
    // With a set the text is cut at every matching scalar, even inside a character.
    EXPECT_EQ(String("a b\r\nc").components(CharacterSet::whitespacesAndNewlines()), strings({"a", "b", "", "c"}));
}

TEST(String, TrimmingWorksPerScalarFromBothEnds)
{
    const CharacterSet& both = CharacterSet::whitespacesAndNewlines();
    EXPECT_EQ(String("\u00A0 \t\r\n hi there\n\u3000").trimmingCharacters(both), String("hi there"));
    EXPECT_EQ(String("\n hi \n").trimmingCharacters(CharacterSet::whitespaces()), String("\n hi \n"));
    EXPECT_EQ(String(" \n\u2028 ").trimmingCharacters(both), String(""));
    EXPECT_EQ(String("x").trimmingCharacters(both), String("x"));
    CharacterSet accent = CharacterSet::charactersIn("\u0301");
    EXPECT_EQ(String(decomposedE).trimmingCharacters(accent).utf8(), "e");
}

TEST(String, CaseMappingIsFullUnicode)
{
    EXPECT_EQ(String("Hello, World").uppercased().utf8(), "HELLO, WORLD");
    EXPECT_EQ(String("stra\u00DFe").uppercased().utf8(), "STRASSE");
    EXPECT_EQ(String("\u0130").lowercased().utf8(), "i\u0307"); // root locale, not Turkish
    EXPECT_EQ(String("\u0391\u0392").lowercased().utf8(), "\u03B1\u03B2");
}

TEST(String, ParseIntAcceptsOnlySignAndDigits)
{
    EXPECT_EQ(parseInt("+5"), 5);
    EXPECT_EQ(parseInt("-42"), -42);
    EXPECT_EQ(parseInt("007"), 7);
    for (const char* bad : {"", "+", "-", " 5", "5 ", "+-5", "0x10", "1_000", "1.0", "\u0665"})
        EXPECT_EQ(parseInt(bad), std::nullopt) << bad;
    EXPECT_EQ(parseInt("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(parseInt("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(parseInt("9223372036854775808"), std::nullopt);
    EXPECT_EQ(parseInt("-9223372036854775809"), std::nullopt);
    EXPECT_EQ(parseInt("99999999999999999999"), std::nullopt);
    EXPECT_EQ(parseInt("ff", 16), 255);
    EXPECT_EQ(parseInt("-Ff", 16), -255);
    EXPECT_EQ(parseInt("z", 36), 35);
    EXPECT_EQ(parseInt("102", 2), std::nullopt);
    EXPECT_EQ(parseInt("a", 10), std::nullopt);
}

TEST(String, ParseDoubleAcceptsWholeLiteralsOnly)
{
    EXPECT_EQ(parseDouble("1.5"), 1.5);
    EXPECT_EQ(parseDouble("-2.5e3"), -2500.0);
    EXPECT_EQ(parseDouble("+.5"), 0.5);
    EXPECT_EQ(parseDouble("0x1.8p1"), 3.0);
    EXPECT_EQ(parseDouble("1e400"), HUGE_VAL);
    EXPECT_EQ(parseDouble("-Infinity"), -HUGE_VAL);
    EXPECT_EQ(parseDouble("inf"), HUGE_VAL);
    EXPECT_TRUE(std::isnan(*parseDouble("NaN")));
    for (const char* bad : {"", " 1", "1 ", "1,5", "1e", "0x", "abc", "--1"})
        EXPECT_EQ(parseDouble(bad), std::nullopt) << bad;
    EXPECT_EQ(parseDouble(std::string_view("1\0" "2", 3)), std::nullopt);
}
