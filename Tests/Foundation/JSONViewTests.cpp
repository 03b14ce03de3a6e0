#include "Platform/Foundation/JSONView.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Foundation;

TEST(JSONView, AnswersEachValueOnlyAsWhatItIs)
{
    JSONDocument document(R"({"text":"a\"\u00e9","minus":-3,"big":18446744073709551615,"half":2.5,"whole":2.0,"exp":1e2,)"
                          R"("yes":true,"none":null,"list":[1,"x",[]],"empty":{}})");
    JSONView root(document);
    ASSERT_TRUE(root.isObject());
    EXPECT_EQ(root.size(), 10u);

    EXPECT_EQ(root.find("text")->string(), "a\"\u00e9");
    EXPECT_EQ(root.find("text")->number(), std::nullopt);
    EXPECT_EQ(root.find("minus")->int64(), -3);
    EXPECT_EQ(root.find("minus")->uint64(), std::nullopt);
    EXPECT_EQ(root.find("big")->uint64(), 18446744073709551615u);
    EXPECT_EQ(root.find("big")->int64(), std::nullopt);
    EXPECT_TRUE(root.find("big")->isInteger());
    EXPECT_EQ(root.find("half")->number(), 2.5);
    EXPECT_FALSE(root.find("half")->isInteger());
    // A number written as a real stays a real, even when it is whole.
    for (const char* key : {"whole", "exp"}) {
        EXPECT_TRUE(root.find(key)->isReal()) << key;
        EXPECT_FALSE(root.find(key)->isInteger()) << key;
        EXPECT_EQ(root.find(key)->int64(), std::nullopt) << key;
    }
    EXPECT_EQ(root.find("exp")->number(), 100.0);
    EXPECT_EQ(root.find("yes")->boolean(), true);
    EXPECT_EQ(root.find("yes")->int64(), std::nullopt);
    EXPECT_TRUE(root.find("none")->isNull());
    EXPECT_EQ(root.find("none")->boolean(), std::nullopt);
    EXPECT_EQ(root.find("missing"), std::nullopt);
    EXPECT_TRUE(root.find("empty")->isEmpty());
    EXPECT_EQ(root.find("empty")->find("text"), std::nullopt);
    // Nothing is found in what is not an object, and nothing iterated in what is not an array.
    EXPECT_EQ(root.find("list")->find("0"), std::nullopt);
    EXPECT_EQ(root.find("text")->elements().begin(), root.find("text")->elements().end());
    EXPECT_EQ(root.find("list")->members().begin(), root.find("list")->members().end());
}

TEST(JSONView, WalksArraysAndMembersInTheirOrder)
{
    JSONDocument document(R"({"b":[1,"x",[2,3]],"a":{"k":1,"j":2,"k":3}})");
    JSONView root(document);
    std::vector<std::string> keys;
    for (auto [key, value] : root.members())
        keys.emplace_back(key);
    EXPECT_EQ(keys, (std::vector<std::string> {"b", "a"}));

    auto list = *root.find("b");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].string(), "x");
    EXPECT_EQ(list[2][1].int64(), 3);
    std::vector<JSONView::Kind> kinds;
    for (auto element : list.elements())
        kinds.push_back(element.kind());
    EXPECT_EQ(kinds, (std::vector<JSONView::Kind> {JSONView::Kind::unsignedInteger, JSONView::Kind::string, JSONView::Kind::array}));

    // A key given twice keeps its first place and its last value.
    auto object = *root.find("a");
    ASSERT_EQ(object.size(), 2u);
    EXPECT_EQ((*object.members().begin()).key, "k");
    EXPECT_EQ(object.find("k")->int64(), 3);
}

TEST(JSONView, TryParseAnswersNothingForWhatIsNotJSON)
{
    for (const char* text : {"", "{", "[1,]", "{\"a\":1}x", "\"\xff\"", "nul"})
        EXPECT_FALSE(JSONDocument::tryParse(text)) << text;
    auto document = JSONDocument::tryParse(std::string_view("[1]\n", 4));
    ASSERT_TRUE(document);
    EXPECT_EQ(JSONView(*document)[0].int64(), 1);
    EXPECT_FALSE(JSONDocument::tryParse(std::string_view("[1]\0", 4)));
}
