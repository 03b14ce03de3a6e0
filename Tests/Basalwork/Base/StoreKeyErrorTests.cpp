#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Basalwork/Base/BinaryDataStore.hpp"
#include "Basalwork/Base/CodableStore.hpp"
#include "Basalwork/Base/ImageStore.hpp"
#include "Basalwork/Base/StoreKeyError.hpp"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::Data;
using Foundation::String;
using Foundation::URL;
namespace fs = std::filesystem;

namespace {

// A store inside "outer", beside files and folders that a hostile key would aim at.
class StoreKeyTest : public testing::Test {
protected:
    TestSupport::TemporaryHome home;
    fs::path outer = home.path() / "outer";
    fs::path directory = outer / "store";
    File::Location location = File::Location::raw(String(directory.string()));
    std::shared_ptr<Foundation::FileManager> fileManager = Foundation::FileManager::defaultManager();
    std::shared_ptr<BinaryDataStore> binary = Foundation::make<BinaryDataStore>(location, fileManager);
    std::shared_ptr<CodableStore> codable = Foundation::make<CodableStore>(location, fileManager, JSONCoder::shared());
    std::shared_ptr<ImageStore> images = Foundation::make<ImageStore>(location, fileManager);

    void SetUp() override
    {
        TestSupport::writeText(outer / "secret", "secret");
        TestSupport::writeText(outer / "victim.jpg", "victim");
        fs::create_directories(outer / "folder");
        TestSupport::writeText(outer / "folder" / "kept", "kept");
        TestSupport::writeText(home.path() / "source.jpg", "replacement");
        TestSupport::writeText(directory / "inside", "inside");
    }

    // Every operation of the three stores with `key`; each must throw StoreKeyError.
    std::vector<std::pair<std::string, std::function<void()>>> operations(const String& key)
    {
        URL source = URL::fileURLWithPath(String((home.path() / "source.jpg").string()));
        return {
            {"data", [=, this] { binary->data(key, std::nullopt); }},
            {"save data", [=, this] { binary->save(Data::fromString("x"), key, std::nullopt); }},
            {"save contents", [=, this] { binary->save(source, key, "jpg"); }},
            {"delete data", [=, this] { binary->deleteData(key, std::nullopt); }},
            {"data exists", [=, this] { binary->dataExists(key, "jpg"); }},
            {"url", [=, this] { binary->url(key, std::nullopt); }},
            {"temporary copy", [=, this] { binary->makeTempFileURL(std::nullopt, key, std::nullopt); }},
            {"item", [=, this] { codable->item<String>(key); }},
            {"save item", [=, this] { codable->save(String("x"), key); }},
            {"delete item", [=, this] { codable->deleteItem(key); }},
            {"item exists", [=, this] { codable->itemExists(key); }},
            {"item does not exist", [=, this] { codable->itemDoesNotExist(key); }},
            {"image", [=, this] { images->uiImage(key); }},
            {"save image", [=, this] { images->save(*UIKit::UIImage::fromRGBA(1, 1, {1, 2, 3, 255}), key); }},
            {"save image data", [=, this] { images->save(Data::fromString("x"), key); }},
            {"delete image", [=, this] { images->deleteImageData(key); }},
            {"image temporary copy", [=, this] { images->makeTempFileURL("Copies", key); }},
            {"save image from URL", [=, this] { images->saveImageData(source, key); }},
        };
    }

    void expectUntouched() const
    {
        EXPECT_EQ(TestSupport::entryNames(outer), (std::vector<std::string> {"folder", "secret", "store", "victim.jpg"}));
        EXPECT_EQ(TestSupport::readText(outer / "secret"), "secret");
        EXPECT_EQ(TestSupport::readText(outer / "victim.jpg"), "victim");
        EXPECT_EQ(TestSupport::entryNames(outer / "folder"), std::vector<std::string> {"kept"});
        EXPECT_EQ(TestSupport::entryNames(directory), std::vector<std::string> {"inside"});
        EXPECT_FALSE(fs::exists(home.path() / "tmp" / "Copies"));
    }
};

} // namespace

TEST_F(StoreKeyTest, HostileKeysAreRefusedBeforeTouchingTheDisk)
{
    std::string withNUL("a\0b", 3);
    for (const String& key : {String("../secret"), String("../victim"), String(".."), String("."), String("../folder"),
                              String("folder/../../secret"), String("/etc/passwd"), String("a/b"), String(""), String("  \n"),
                              String(withNUL)}) {
        for (const auto& [name, operation] : operations(key)) {
            try {
                operation();
                ADD_FAILURE() << name << " accepted " << Foundation::debugQuoted(key.view());
            } catch (const StoreKeyError& error) {
                EXPECT_EQ(error.as<StoreKeyError::InvalidKey>()->key, key);
            }
        }
        expectUntouched();
    }
}

TEST_F(StoreKeyTest, ExtensionsWithSeparatorsAreRefused)
{
    EXPECT_THROW(binary->save(Data::fromString("x"), "name", "/../../secret"), StoreKeyError);
    EXPECT_THROW(binary->data("secret", String(std::string("x\0y", 3))), StoreKeyError);
    expectUntouched();
}

TEST_F(StoreKeyTest, ErrorsSayWhatIsWrong)
{
    try {
        codable->deleteItem("..");
        FAIL();
    } catch (const StoreKeyError& error) {
        EXPECT_EQ(error.domain(), "Basalwork.StoreKeyError");
        EXPECT_EQ(error.code(), 0);
        EXPECT_EQ(error.description(), R"(invalidKey(key: "..", reason: "names a directory"))");
    }
    EXPECT_THROW(StoreKeyError::validateKey("a/b"), StoreKeyError);
    EXPECT_THROW(StoreKeyError::validateKey("\t"), StoreKeyError);
}

TEST_F(StoreKeyTest, UnusualButHarmlessKeysWork)
{
    for (const String& key : {String("..."), String(".hidden"), String(" spaced "), String("a%2Fb"), String("a\\b"), String("ünï")}) {
        codable->save(key, key);
        EXPECT_EQ(codable->item<String>(key), key) << key.utf8();
    }
    EXPECT_EQ(TestSupport::entryNames(directory),
              (std::vector<std::string> {" spaced ", "...", ".hidden", "a%2Fb", "a\\b", "inside", "ünï"}));
}

TEST_F(StoreKeyTest, SubdirectoriesThatLeadOutsideAreRefusedBeforeTouchingTheDisk)
{
    binary->save(Data::fromString("x"), "stored", std::nullopt);
    std::string withNUL("Copies\0/../../folder", 20);
    for (const String& subdirectory : {String("../outer/folder"), String(".."), String("."), String("a/../../x"),
                                       String("/etc"), String(withNUL), String("Copies/./x")}) {
        std::vector<std::function<void()>> uses {
            [&] { binary->makeTempFileURL(subdirectory, "stored", std::nullopt); },
            [&] { File::Location::temporary(subdirectory).url(*fileManager); },
            [&] { File::Location::permanent(subdirectory).url(*fileManager); },
            [&] { File::Location::cache(subdirectory).url(*fileManager); },
        };
        for (const auto& use : uses) {
            try {
                use();
                ADD_FAILURE() << "accepted " << Foundation::debugQuoted(subdirectory.view());
            } catch (const StoreKeyError& error) {
                ASSERT_TRUE(error.as<StoreKeyError::InvalidSubdirectory>());
                EXPECT_EQ(error.as<StoreKeyError::InvalidSubdirectory>()->subdirectory, subdirectory);
            }
        }
        EXPECT_EQ(TestSupport::entryNames(outer), (std::vector<std::string> {"folder", "secret", "store", "victim.jpg"}));
        EXPECT_EQ(TestSupport::entryNames(outer / "folder"), std::vector<std::string> {"kept"});
        EXPECT_FALSE(fs::exists(home.path() / "x"));
    }
    EXPECT_EQ(StoreKeyError::invalidSubdirectory("..", "names a directory outside its own").description(),
              R"(invalidSubdirectory(subdirectory: "..", reason: "names a directory outside its own"))");

    // Nested folders inside the base, and blank ones, still work.
    auto copy = binary->makeTempFileURL(String("Sharing/Today"), "stored", std::nullopt);
    ASSERT_TRUE(copy);
    EXPECT_TRUE(fs::exists(home.path() / "tmp" / "Sharing" / "Today"));
    EXPECT_EQ(File::Location::temporary(String(" ")).url(*fileManager), File::Location::temporary(std::nullopt).url(*fileManager));
}
