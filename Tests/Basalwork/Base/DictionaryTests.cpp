#include "Basalwork/Base/Dictionary.hpp"
#include "Basalwork/Base/Set.hpp"

#include "Platform/Foundation/RawRepresentable.hpp"
#include "Platform/Foundation/String.hpp"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

using namespace Basalwork;
using Foundation::String;

namespace {

enum class Field { username, password };

// A key that wraps whatever value it is given, as a type-erased key does.
struct ErasedKey {
    ErasedKey(String text)
        : text(std::move(text))
    {
    }
    String text;
    friend bool operator==(const ErasedKey&, const ErasedKey&) = default;
};

} // namespace

template <>
struct Foundation::RawRepresentation<Field> {
    using RawValue = Foundation::String;
    static constexpr std::pair<Field, const char*> cases[] = {{Field::username, "username"}, {Field::password, "password"}};
};

template <>
struct std::hash<ErasedKey> {
    std::size_t operator()(const ErasedKey& key) const { return key.text.hash(); }
};

TEST(SetCopies, InsertingAndRemovingElementsOrSequences)
{
    const std::unordered_set<int> numbers {1, 2};
    EXPECT_EQ(inserting(numbers, 3), (std::unordered_set {1, 2, 3}));
    EXPECT_EQ(inserting(numbers, std::vector {2, 4}), (std::unordered_set {1, 2, 4}));
    EXPECT_EQ(removing(numbers, 1), (std::unordered_set {2}));
    EXPECT_EQ(removing(numbers, std::vector {1, 2, 9}), (std::unordered_set<int> {}));
    EXPECT_EQ(numbers, (std::unordered_set {1, 2}));

    // Text goes in whole, not character by character.
    const std::set<String> tags {"a"};
    EXPECT_EQ(inserting(tags, String("bc")), (std::set<String> {"a", "bc"}));
    EXPECT_EQ(inserting(tags, "d").size(), 2u);
}

TEST(SetRemoveWhere, RemovesWhatThePredicatePicksAndNothingOnFailure)
{
    std::unordered_set<int> numbers {1, 2, 3, 4};
    remove(numbers, [](int n) { return n % 2 == 0; });
    EXPECT_EQ(numbers, (std::unordered_set {1, 3}));

    EXPECT_THROW(remove(numbers,
                        [](int n) {
                            if (n == 3)
                                throw std::runtime_error("no");
                            return true;
                        }),
                 std::runtime_error);
    EXPECT_EQ(numbers, (std::unordered_set {1, 3}));
}

TEST(DictionaryMerging, TheArgumentWinsForSharedKeys)
{
    std::unordered_map<String, int> counts {{"a", 1}, {"b", 2}};
    update(counts, std::unordered_map<String, int> {{"b", 20}, {"c", 30}});
    EXPECT_EQ(counts, (std::unordered_map<String, int> {{"a", 1}, {"b", 20}, {"c", 30}}));

    const std::map<String, int> base {{"a", 1}};
    EXPECT_EQ(updated(base, std::map<String, int> {{"a", 9}}).at("a"), 9);
    EXPECT_EQ(base.at("a"), 1);

    EXPECT_EQ(removing(counts, std::set<String> {"a", "absent"}), (std::unordered_map<String, int> {{"b", 20}, {"c", 30}}));
    remove(counts, std::unordered_set<String> {"b", "c"});
    EXPECT_EQ(counts, (std::unordered_map<String, int> {{"a", 1}}));
}

TEST(DictionaryRawValueKeys, ReadWriteAndRemoveUnderTheRawValue)
{
    std::unordered_map<String, String> fields;
    EXPECT_EQ(entry(fields, Field::username), nullptr);
    setEntry(fields, Field::username, String("ada"));
    EXPECT_EQ(fields.at("username"), "ada");
    *entry(fields, Field::username) += "!";
    EXPECT_EQ(*entry(std::as_const(fields), Field::username), "ada!");
    setEntry(fields, Field::username, std::nullopt);
    EXPECT_TRUE(fields.empty());

    std::unordered_map<ErasedKey, int> erased;
    setEntry(erased, Field::password, 8);
    EXPECT_EQ(erased.at(ErasedKey("password")), 8);
    EXPECT_EQ(*entry(erased, Field::password), 8);
}
