#include "Basalwork/Base/UTF8Validation.hpp"

#include "Platform/Foundation/String.hpp"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using Basalwork::isValidUTF8;
using Basalwork::validUTF8PrefixLength;

namespace {

// Valid scalars of every length, then every kind of fault: a lone or surplus continuation, cut sequences,
// overlong forms, surrogates, scalars past U+10FFFF and bytes that never occur.
const std::vector<std::string> validPieces {"a", "0123456789abcdef", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x94\x91",
                                            "\xCC\x81", "\xEF\xBB\xBF", "\xF4\x8F\xBF\xBF", "\xED\x9F\xBF"};
const std::vector<std::string> faultyPieces {"\x80", "\xBF", "\xC3", "\xE2\x82", "\xF0\x9F\x94", "\xC0\x80", "\xC1\xBF",
                                             "\xE0\x80\x80", "\xE0\x9F\xBF", "\xF0\x80\x80\x80", "\xF0\x8F\xBF\xBF",
                                             "\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
                                             "\xF8\x88\x80\x80\x80", "\xFE", "\xFF", "\xC3\xA9\x80"};

bool reference(const std::string& text)
{
    return Foundation::String::fromUTF8(text).has_value();
}

} // namespace

TEST(UTF8ValidationTest, FindsEachFaultWhereverItStands)
{
    // Each fault at every offset of texts long enough to be read a block at a time, so it lands on and across
    // block boundaries and in the last, overlapping block; and around the larger spans taken in at once.
    std::vector<std::size_t> offsets;
    for (std::size_t before = 0; before < 70; ++before)
        offsets.push_back(before);
    for (std::size_t before = 120; before < 136; ++before)
        offsets.push_back(before);
    for (std::size_t before = 250; before < 262; ++before)
        offsets.push_back(before);
    for (const std::string& filler : {std::string("x"), std::string("\xC3\xA9"), std::string("\xE2\x82\xAC")}) {
        for (const std::string& fault : faultyPieces) {
            for (std::size_t before : offsets) {
                std::string text;
                while (text.size() < before)
                    text += filler;
                text += fault;
                for (std::size_t after : {0, 1, 2, 3, 15, 16, 17, 40}) {
                    std::string whole = text + std::string(after, 'y');
                    ASSERT_FALSE(isValidUTF8(whole)) << "fault at " << text.size() - fault.size() << ", " << after << " after";
                    std::string valid = whole;
                    valid.replace(text.size() - fault.size(), fault.size(), filler);
                    ASSERT_TRUE(isValidUTF8(valid));
                }
            }
        }
    }
}

TEST(UTF8ValidationTest, AgreesWithTheStringCheckOnRandomText)
{
    std::mt19937 random(20261209);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const bool faulty = round % 3 == 0;
        for (std::size_t i = random() % (round % 4 ? 60 : 200); i > 0; --i) {
            bool fault = faulty && random() % 12 == 0;
            const auto& pieces = fault ? faultyPieces : validPieces;
            text += pieces[random() % pieces.size()];
        }
        ASSERT_EQ(isValidUTF8(text), reference(text)) << "round " << round;
        if (round % 8 == 0) {
            // Where the fault begins: the longest start that is valid.
            std::size_t prefix = text.size();
            while (!reference(text.substr(0, prefix)))
                --prefix;
            ASSERT_EQ(validUTF8PrefixLength(text), prefix) << "round " << round;
        }
    }
    EXPECT_TRUE(isValidUTF8(""));
}
