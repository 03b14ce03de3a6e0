#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Basalwork/Base/File.hpp"
#include "Basalwork/Base/FileManager.hpp"
#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/URL.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/NSError.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using Basalwork::File;
using Foundation::Data;
using Foundation::String;
using Foundation::URL;
namespace fs = std::filesystem;

namespace {

class FileTest : public testing::Test {
protected:
    TestSupport::TemporaryHome home;
    std::shared_ptr<Foundation::FileManager> fileManager = Foundation::FileManager::defaultManager();

    fs::path storeDirectory() const { return home.path() / "store"; }
    URL storeURL() const { return URL::fileURLWithPath(storeDirectory().string(), true); }
    std::shared_ptr<File> file(const String& name, std::optional<String> extension = std::nullopt) const
    {
        return Foundation::make<File>(name, extension, storeURL(), fileManager);
    }
};

} // namespace

TEST_F(FileTest, MakingAFileCreatesItsDirectoryAndNamesItsURL)
{
    auto photo = file("photo", "jpg");
    EXPECT_TRUE(fs::is_directory(storeDirectory()));
    EXPECT_EQ(photo->filename(), "photo");
    EXPECT_EQ(photo->url(), URL::fileURLWithPath((storeDirectory() / "photo.jpg").string(), false));
    EXPECT_EQ(file("item")->url().lastPathComponent(), "item");
    EXPECT_EQ(file("item", String(" "))->url().lastPathComponent(), "item");
    EXPECT_FALSE(photo->fileExists());
}

TEST_F(FileTest, NoFileResultsWhenItsDirectoryCannotBeMade)
{
    std::ofstream(home.path() / "blocker") << "x";
    try {
        Foundation::make<File>("f", std::nullopt, URL::fileURLWithPath((home.path() / "blocker/sub").string(), true), fileManager);
        FAIL() << "a file was made";
    } catch (const Foundation::NSError& error) {
        EXPECT_EQ(error.code(), Foundation::CocoaError::fileWriteFileExists);
    }
}

TEST_F(FileTest, WritingReadingAndRemoving)
{
    auto note = file("note", "txt");
    EXPECT_EQ(note->readFromDisk(), std::nullopt);
    EXPECT_NO_THROW(note->removeFromDisk());

    note->writeToDisk(Data::fromString("first"));
    note->writeToDisk(Data::fromString("second"));
    EXPECT_TRUE(note->fileExists());
    EXPECT_EQ(file("note", "txt")->readFromDisk(), Data::fromString("second"));
    EXPECT_EQ(TestSupport::entryNames(storeDirectory()), (std::vector<std::string> {"note.txt"}));

    note->removeFromDisk();
    EXPECT_FALSE(note->fileExists());
    EXPECT_EQ(note->readFromDisk(), std::nullopt);
}

TEST_F(FileTest, ReplacingCopiesTheSourceAndLeavesNoStagingCopy)
{
    auto source = home.path() / "download.bin";
    std::ofstream(source, std::ios::binary) << "downloaded bytes";
    auto temporary = home.path() / "tmp";
    auto before = TestSupport::entryNames(temporary);

    auto target = file("target");
    target->replace(URL::fileURLWithPath(source.string()));
    EXPECT_EQ(target->readFromDisk(), Data::fromString("downloaded bytes"));
    target->writeToDisk(Data::fromString("older"));
    target->replace(URL::fileURLWithPath(source.string()));
    EXPECT_EQ(target->readFromDisk(), Data::fromString("downloaded bytes"));

    EXPECT_TRUE(fs::exists(source));
    EXPECT_EQ(fs::file_size(source), 16u);
    EXPECT_EQ(TestSupport::entryNames(temporary), before);
}

TEST_F(FileTest, ReplacingFromAMissingSourceFailsAndKeepsTheFile)
{
    auto target = file("target");
    target->writeToDisk(Data::fromString("kept"));
    try {
        target->replace(URL::fileURLWithPath((home.path() / "nothing").string()));
        FAIL() << "replacement succeeded";
    } catch (const Foundation::NSError& error) {
        EXPECT_EQ(error.code(), Foundation::CocoaError::fileReadNoSuchFile);
    }
    EXPECT_EQ(target->readFromDisk(), Data::fromString("kept"));
}

TEST_F(FileTest, EnsuringAFileExists)
{
    auto url = storeURL().appendingPathComponent("marker", false);
    fs::create_directories(storeDirectory());
    EXPECT_TRUE(Basalwork::fileDoesNotExist(*fileManager, url));
    EXPECT_TRUE(Basalwork::fileDoesNotExist(*fileManager, url.path()));
    Basalwork::ensureFileExists(*fileManager, url);
    EXPECT_TRUE(Basalwork::fileExists(*fileManager, url));
    EXPECT_EQ(fs::file_size(url.path().utf8()), 0u);

    std::ofstream(url.path().utf8()) << "contents";
    Basalwork::ensureFileExists(*fileManager, url);
    EXPECT_EQ(Data::contentsOf(url), Data::fromString("contents"));

    auto unreachable = storeURL().appendingPathComponent("missing/marker", false);
    try {
        Basalwork::ensureFileExists(*fileManager, unreachable);
        FAIL() << "no error";
    } catch (const Basalwork::GeneralError& error) {
        auto* failure = error.as<Basalwork::GeneralError::FailedWithMessage>();
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->message, "Failed to ensure file exists at url: " + unreachable.path());
    }
}

TEST(URLAdditions, AbsentPiecesLeaveTheURLAsItIs)
{
    auto directory = URL::fileURLWithPath("/store", true);
    for (std::optional<String> absent : {std::optional<String>(), std::optional<String>(""), std::optional<String>(" \n\t")}) {
        EXPECT_EQ(Basalwork::appendingPathComponent(directory, absent, false), directory);
        EXPECT_EQ(Basalwork::appendingDirectory(directory, absent), directory);
        EXPECT_EQ(Basalwork::appendingPathExtension(directory, absent), directory);
        EXPECT_EQ(Basalwork::appendingFilename(directory, absent, absent), directory);
    }
}

TEST(URLAdditions, PresentPiecesAreAddedUntrimmed)
{
    auto directory = URL::fileURLWithPath("/store", true);
    EXPECT_EQ(Basalwork::appendingPathComponent(directory, String(" a "), false).path(), "/store/ a ");
    EXPECT_EQ(Basalwork::appendingDirectory(directory, String("sub")).absoluteString(), "file:///store/sub/");
    EXPECT_EQ(Basalwork::appendingFilename(directory, String("a"), String("jpg")).absoluteString(), "file:///store/a.jpg");
    EXPECT_EQ(Basalwork::appendingFilename(directory, String("a"), String(" ")).absoluteString(), "file:///store/a");
    EXPECT_EQ(Basalwork::appendingFilename(directory, std::nullopt, String("jpg")).absoluteString(), "file:///store.jpg/");
    EXPECT_EQ(Basalwork::appendingFilename(directory, String("a"), String(" gz")).lastPathComponent(), "a. gz");

    URL url = directory;
    Basalwork::appendDirectory(url, String("x"));
    Basalwork::appendFilename(url, String("y"), String("txt"));
    Basalwork::appendPathExtension(url, String("bak"));
    Basalwork::appendPathComponent(url, std::nullopt, true);
    EXPECT_EQ(url.path(), "/store/x/y.txt.bak");
}
