#include "Basalwork/Base/DictionaryOfDictionaries.hpp"
#include "Basalwork/Base/Reference.hpp"
#include "Basalwork/Base/ReferenceDictionary.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <unordered_set>
#include <vector>

using namespace Basalwork;
using Foundation::make;
using Foundation::String;

TEST(Reference, BoxesCompareAndHashByTheirValueButChangeAlone)
{
    auto a = make<Reference<String>>("x");
    auto b = make<Reference<String>>("x");
    EXPECT_EQ(*a, *b);
    EXPECT_EQ(std::hash<Reference<String>> {}(*a), std::hash<String> {}("x"));
    b->setValue("y");
    EXPECT_NE(*a, *b);
    EXPECT_EQ(a->value(), "x");

    auto shared = a;
    shared->value() += "!";
    EXPECT_EQ(a->value(), "x!");
    EXPECT_EQ(a->description(), "x!");
}

TEST(Reference, MadeEmptyWhenItsValueCanBe)
{
    auto numbers = makeZeroParam<std::shared_ptr<Reference<std::vector<int>>>>();
    ASSERT_NE(numbers, nullptr);
    EXPECT_TRUE(numbers->value().empty());
    EXPECT_NE(numbers, makeZeroParam<std::shared_ptr<Reference<std::vector<int>>>>());
    numbers->value() = {1, 2};
    EXPECT_EQ(numbers->description(), "[1, 2]");
}

TEST(ReferenceDictionary, LiteralKeepsTheFirstOfRepeatedKeys)
{
    auto dictionary = ReferenceDictionary<String, int>::withDictionaryLiteral({{"a", 1}, {"b", 2}, {"a", 3}});
    EXPECT_EQ(*dictionary->value("a"), 1);
    EXPECT_EQ(dictionary->keys().size(), 2u);
    EXPECT_EQ(dictionary->values().size(), 2u);
}

TEST(ReferenceDictionary, OptionalSubscriptReadsWritesAndRemoves)
{
    auto dictionary = make<ReferenceDictionary<String, int>>();
    EXPECT_EQ(dictionary->value("a"), nullptr);
    EXPECT_EQ(dictionary->description(), "[:]");
    dictionary->setValue("a", 1);
    *dictionary->value("a") += 1;
    EXPECT_EQ(dictionary->description(), "[\"a\": 2]");
    dictionary->setValue("a", std::nullopt);
    EXPECT_EQ(dictionary->value("a"), nullptr);

    dictionary->setValue("b", 5);
    EXPECT_EQ(dictionary->removeValue("b"), 5);
    EXPECT_EQ(dictionary->removeValue("b"), std::nullopt);
    dictionary->setValue("c", 6);
    dictionary->removeAll();
    EXPECT_TRUE(dictionary->keys().empty());
}

TEST(ReferenceDictionary, InitSubscriptStoresTheEmptyValueOfAMissingKey)
{
    auto lists = make<ReferenceDictionary<String, std::vector<int>>>();
    EXPECT_TRUE((*lists)["a"].empty());
    ASSERT_NE(lists->value("a"), nullptr);
    (*lists)["a"].push_back(1);
    (*lists)["b"] = {7};
    EXPECT_EQ(*lists->value("a"), (std::vector {1}));
    EXPECT_EQ(*lists->value("b"), (std::vector {7}));

    // Objects come into being, never as a null pointer.
    auto nested = make<ReferenceDictionary<String, std::shared_ptr<ReferenceDictionary<String, int>>>>();
    (*nested)["outer"]->setValue("inner", 1);
    EXPECT_EQ(*(*nested)["outer"]->value("inner"), 1);
}

TEST(DictionaryOfDictionaries, ReadingAMissingKeyStoresAnInnerMapThatCallersShare)
{
    using Map = DictionaryOfDictionaries<String, String, int>;
    auto map = make<Map>(Map::Dictionaries {});
    auto inner = (*map)["k"];
    ASSERT_NE(inner, nullptr);
    EXPECT_TRUE(inner->keys().empty());
    EXPECT_EQ(map->description(), "[\"k\": [:]]");

    inner->setValue("x", 1);
    EXPECT_EQ((*map)["k"], inner);
    EXPECT_EQ(*(*map)["k"]->value("x"), 1);
}

TEST(DictionaryOfDictionaries, RemoveAllLetsHeldInnerMapsGoOnUnchanged)
{
    using Map = DictionaryOfDictionaries<String, String, int>;
    auto map = make<Map>(Map::Dictionaries {});
    auto held = (*map)["k"];
    held->setValue("x", 1);
    map->removeAll();
    auto fresh = (*map)["k"];
    EXPECT_NE(fresh, held);
    EXPECT_TRUE(fresh->keys().empty());
    EXPECT_EQ(*held->value("x"), 1);
}

TEST(DictionaryOfDictionaries, WritesAndModifiesNeverLeaveANullInnerMap)
{
    using Map = DictionaryOfDictionaries<String, String, int>;
    auto given = make<Map::Inner>();
    auto map = make<Map>(Map::Dictionaries {{"given", given}, {"null", nullptr}});
    EXPECT_EQ((*map)["given"], given);
    ASSERT_NE((*map)["null"], nullptr);

    auto replacement = make<Map::Inner>();
    map->setValue("given", replacement);
    EXPECT_EQ((*map)["given"], replacement);
    map->setValue("given", nullptr);
    EXPECT_NE((*map)["given"], nullptr);
    EXPECT_NE((*map)["given"], replacement);

    map->modify("m", [&](std::shared_ptr<Map::Inner>& inner) { inner = replacement; });
    EXPECT_EQ((*map)["m"], replacement);
    map->modify("m", [](std::shared_ptr<Map::Inner>& inner) { inner->setValue("y", 2); });
    EXPECT_EQ(*replacement->value("y"), 2);
}
