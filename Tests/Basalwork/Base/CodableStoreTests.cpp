#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Basalwork/Base/CodableStore.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <limits>

using namespace Basalwork;
using Foundation::Data;
using Foundation::String;
namespace fs = std::filesystem;

namespace {

struct Entry {
    String title;
    std::vector<String> tags;
    std::optional<double> score;

    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(title, "title");
        container.encode(tags, "tags");
        container.encodeIfPresent(score, "score");
    }
    static Entry decode(Foundation::Decoder& decoder)
    {
        auto container = decoder.container();
        return {container.decode<String>("title"), container.decode<std::vector<String>>("tags"),
                container.decodeIfPresent<double>("score")};
    }
    friend bool operator==(const Entry&, const Entry&) = default;
};

class CodableStoreTest : public testing::Test {
protected:
    TestSupport::TemporaryHome home;
    std::shared_ptr<CodableStore> store = Foundation::make<CodableStore>(File::Location::cache("SyncCoordinator.cacheStore"),
                                                                         Foundation::FileManager::defaultManager(), JSONCoder::shared());
    fs::path directory = fs::path(store->binaryDataStore()->directoryURL().path().utf8());
};

} // namespace

TEST_F(CodableStoreTest, ItemsRoundTripInOneBareNamedFileEach)
{
    Entry entry {"Bank", {"money", "work"}, 0.5};
    store->save(entry, "entry-1");
    EXPECT_EQ(store->item<Entry>("entry-1"), entry);
    EXPECT_EQ(TestSupport::entryNames(directory), std::vector<std::string> {"entry-1"});
    EXPECT_EQ(TestSupport::readText(directory / "entry-1"), R"({"title":"Bank","tags":["money","work"],"score":0.5})");
    EXPECT_TRUE(directory.string().ends_with("SyncCoordinator.cacheStore"));
}

TEST_F(CodableStoreTest, SimpleValuesAreStoredWrappedWithTheSharedCoder)
{
    store->save(String("abc"), "name");
    EXPECT_EQ(TestSupport::readText(directory / "name"), R"({"value":"abc"})");
    EXPECT_EQ(store->item<String>("name"), "abc");
}

TEST_F(CodableStoreTest, MissingItemsAreNothingAndNoError)
{
    EXPECT_EQ(store->item<Entry>("never"), std::nullopt);
    EXPECT_FALSE(store->itemExists("never"));
    EXPECT_TRUE(store->itemDoesNotExist("never"));
    store->deleteItem("never");
}

TEST_F(CodableStoreTest, SavingAgainReplacesTheItem)
{
    store->save(Entry {"Old", {}, std::nullopt}, "id");
    store->save(Entry {"New", {"x"}, std::nullopt}, "id");
    EXPECT_EQ(store->item<Entry>("id")->title, "New");
    EXPECT_TRUE(store->itemExists("id"));
    store->deleteItem("id");
    EXPECT_TRUE(store->itemDoesNotExist("id"));
}

TEST_F(CodableStoreTest, AFailedEncodingLeavesTheEarlierFile)
{
    store->save(Entry {"Kept", {}, 1.0}, "id");
    EXPECT_THROW(store->save(Entry {"Lost", {}, std::numeric_limits<double>::infinity()}, "id"), Foundation::EncodingError);
    EXPECT_EQ(store->item<Entry>("id")->title, "Kept");
}

TEST_F(CodableStoreTest, AFileOfAnotherShapeFailsToDecodeAndStays)
{
    store->save(std::int64_t {7}, "id");
    EXPECT_THROW(store->item<Entry>("id"), Foundation::DecodingError);
    EXPECT_EQ(TestSupport::readText(directory / "id"), R"({"value":7})");
}

TEST_F(CodableStoreTest, DeletingAllItemsRemovesTheDirectoryUntilTheNextSave)
{
    store->save(String("a"), "a");
    store->save(String("b"), "b");
    store->deleteAllItems();
    EXPECT_FALSE(fs::exists(directory));
    EXPECT_EQ(store->item<String>("a"), std::nullopt);
    store->save(String("c"), "c");
    EXPECT_EQ(TestSupport::entryNames(directory), std::vector<std::string> {"c"});
}

TEST_F(CodableStoreTest, ACoderWithoutWrappingStoresBareValues)
{
    auto coder = Foundation::make<JSONCoder>(false, JSONCoder::DateCodingStrategy::iso8601(), std::nullopt);
    auto bare = Foundation::make<CodableStore>(File::Location::permanent("Bare"), Foundation::FileManager::defaultManager(), coder);
    bare->save(Foundation::Date(0), "date");
    EXPECT_EQ(bare->binaryDataStore()->data("date", std::nullopt), Data::fromString(R"("2001-01-01T00:00:00Z")"));
    EXPECT_EQ(bare->item<Foundation::Date>("date"), Foundation::Date(0));
}
