#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Basalwork/Base/BinaryDataStore.hpp"
#include "Basalwork/Base/GeneralError.hpp"

#include <filesystem>
#include <gtest/gtest.h>

using Basalwork::BinaryDataStore;
using Basalwork::File;
using Foundation::Data;
using Foundation::String;
using Foundation::URL;
namespace fs = std::filesystem;

namespace {

class BinaryDataStoreTest : public testing::Test {
protected:
    TestSupport::TemporaryHome home;
    fs::path directory = home.path() / "stores" / "binary";
    std::shared_ptr<BinaryDataStore> store = Foundation::make<BinaryDataStore>(File::Location::raw(String(directory.string())),
                                                                               Foundation::FileManager::defaultManager());
};

} // namespace

TEST_F(BinaryDataStoreTest, MakingAStoreCreatesItsDirectory)
{
    EXPECT_TRUE(fs::is_directory(directory));
    EXPECT_EQ(store->directoryURL(), URL::fileURLWithPath(String(directory.string()), true));
    EXPECT_THROW(Foundation::make<BinaryDataStore>(File::Location::appGroup("group.unknown", std::nullopt),
                                                   Foundation::FileManager::defaultManager()),
                 Basalwork::GeneralError);
}

TEST_F(BinaryDataStoreTest, SavesReplacesReadsAndDeletesNamedFiles)
{
    EXPECT_EQ(store->data("notes", "txt"), std::nullopt);
    EXPECT_FALSE(store->dataExists("notes", "txt"));

    store->save(Data::fromString("first"), "notes", "txt");
    store->save(Data::fromString("second"), "notes", "txt");
    EXPECT_EQ(TestSupport::readText(directory / "notes.txt"), "second");
    EXPECT_EQ(store->data("notes", "txt"), Data::fromString("second"));
    EXPECT_TRUE(store->dataExists("notes", "txt"));
    EXPECT_FALSE(store->dataExists("notes", std::nullopt));

    store->deleteData("notes", "txt");
    store->deleteData("notes", "txt");
    EXPECT_EQ(TestSupport::entryNames(directory), std::vector<std::string> {});
}

TEST_F(BinaryDataStoreTest, BlankExtensionsAreLeftOffAndNamesKeptUntrimmed)
{
    EXPECT_EQ(store->url(" padded ", " ").lastPathComponent(), " padded ");
    EXPECT_EQ(store->url("a", std::nullopt).lastPathComponent(), "a");
    EXPECT_EQ(store->url("a", "b c").lastPathComponent(), "a.b c");
    EXPECT_EQ(store->url(".hidden", "tar.gz").lastPathComponent(), ".hidden.tar.gz");
    // Naming a URL does not create the file.
    EXPECT_EQ(TestSupport::entryNames(directory), std::vector<std::string> {});
}

TEST_F(BinaryDataStoreTest, SavingFromAURLCopiesAndLeavesTheSource)
{
    TestSupport::writeText(home.path() / "source", "copied");
    store->save(URL::fileURLWithPath(String((home.path() / "source").string())), "target", "bin");
    EXPECT_EQ(TestSupport::readText(directory / "target.bin"), "copied");
    EXPECT_EQ(TestSupport::readText(home.path() / "source"), "copied");
}

TEST_F(BinaryDataStoreTest, DeletingAllRemovesTheDirectoryUntilTheNextSave)
{
    store->save(Data::fromString("1"), "one", std::nullopt);
    store->save(Data::fromString("2"), "two", std::nullopt);
    store->deleteAllData();
    EXPECT_FALSE(fs::exists(directory));
    EXPECT_TRUE(fs::is_directory(directory.parent_path()));
    store->deleteAllData();

    EXPECT_EQ(store->data("one", std::nullopt), std::nullopt);
    store->save(Data::fromString("3"), "three", std::nullopt);
    EXPECT_EQ(TestSupport::entryNames(directory), std::vector<std::string> {"three"});
}

TEST_F(BinaryDataStoreTest, TemporaryCopiesAreFreshEachTime)
{
    store->save(Data::fromString("photo"), "key", "jpg");
    auto first = store->makeTempFileURL("Sharing", "key", "jpg");
    auto second = store->makeTempFileURL("Sharing", "key", "jpg");
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);

    fs::path sharing = home.path() / "tmp" / "Sharing";
    for (const auto& url : {*first, *second}) {
        fs::path path = url.path().utf8();
        EXPECT_EQ(path.parent_path(), sharing);
        String name = url.lastPathComponent();
        // The key, a 36-character UUID with no separator, then the extension.
        EXPECT_TRUE(name.hasPrefix("key"));
        EXPECT_EQ(name.count(), 3 + 36 + 4) << name.utf8();
        EXPECT_EQ(url.pathExtension(), "jpg");
        EXPECT_EQ(TestSupport::readText(path), "photo");
    }
    // The stored file is untouched and no staging copies are left.
    EXPECT_EQ(TestSupport::readText(directory / "key.jpg"), "photo");
    EXPECT_EQ(TestSupport::entryNames(sharing).size(), 2u);
}

TEST_F(BinaryDataStoreTest, NoTemporaryCopyOfAMissingFile)
{
    fs::path temporary = home.path() / "tmp";
    auto before = TestSupport::entryNames(temporary);
    EXPECT_EQ(store->makeTempFileURL(std::nullopt, "missing", "jpg"), std::nullopt);
    EXPECT_EQ(TestSupport::entryNames(temporary), before);
}
