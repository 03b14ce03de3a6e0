#include "Tests/Support/TemporaryHome.hpp"

#include "Basalwork/Base/File.Location.hpp"
#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/NSDirectoryEnumerationOptions.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/ProcessInfo.hpp"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using Basalwork::File;
using Foundation::String;
using Foundation::URL;
namespace fs = std::filesystem;

namespace {

class FileLocationTest : public testing::Test {
protected:
    TestSupport::TemporaryHome home;
    Foundation::FileManager& fileManager = *Foundation::FileManager::defaultManager();

    URL directory(const fs::path& path) const { return URL::fileURLWithPath(path.string(), true); }
    fs::path applicationSupport() const
    {
        return home.path() / ".local/share" / Foundation::ProcessInfo::processInfo()->processName().utf8();
    }
    // Resolves twice: both must succeed, agree, and leave the directory on disk.
    URL resolved(const File::Location& location) const
    {
        auto first = location.url(fileManager);
        auto second = location.url(fileManager);
        EXPECT_EQ(first, second);
        EXPECT_TRUE(fs::is_directory(first.path().utf8())) << first.path().utf8();
        return first;
    }
};

} // namespace

TEST_F(FileLocationTest, EachCaseResolvesToItsBaseDirectoryAndSubdirectory)
{
    auto name = Foundation::ProcessInfo::processInfo()->processName().utf8();
    EXPECT_EQ(resolved(File::Location::permanent("Store")), directory(applicationSupport() / "Store"));
    EXPECT_EQ(resolved(File::Location::cache("SyncCoordinator.cacheStore")),
              directory(home.path() / ".cache" / name / "SyncCoordinator.cacheStore"));
    EXPECT_EQ(resolved(File::Location::temporary("Scratch")), directory(home.path() / "tmp/Scratch"));
    EXPECT_EQ(resolved(File::Location::permanent(std::nullopt)), directory(applicationSupport()));

    Foundation::FileManager::registerApplicationGroup("group.location.example");
    EXPECT_EQ(resolved(File::Location::appGroup("group.location.example", "Attachments")),
              directory(home.path() / ".local/share/AppGroups/group.location.example/Attachments"));
}

TEST_F(FileLocationTest, BlankSubdirectoriesAreIgnoredAndOuterSpacesKept)
{
    EXPECT_EQ(resolved(File::Location::permanent(" \n\t ")), directory(applicationSupport()));
    EXPECT_EQ(resolved(File::Location::permanent("")), directory(applicationSupport()));
    auto spaced = resolved(File::Location::permanent("  padded  "));
    EXPECT_EQ(spaced.lastPathComponent(), "  padded  ");
    EXPECT_TRUE(fs::is_directory(applicationSupport() / "  padded  "));
}

TEST_F(FileLocationTest, TheDestinationTakesNoPartInResolution)
{
    auto elsewhere = File::Location::Destination::url(URL::fileURLWithPath("/somewhere/else", true));
    EXPECT_EQ(resolved(File::Location::temporary(elsewhere, "t")), resolved(File::Location::temporary("t")));
    EXPECT_TRUE(File::Location::temporary("t").as<File::Location::Temporary>()->suitableFor.as<File::Location::Destination::PrimaryVolume>());
}

TEST_F(FileLocationTest, ARawPathBecomesADirectory)
{
    auto path = home.path() / "raw/not/yet/there";
    auto url = resolved(File::Location::raw(path.string()));
    EXPECT_EQ(url, directory(path));
    EXPECT_TRUE(url.hasDirectoryPath());
}

TEST_F(FileLocationTest, AnUnknownAppGroupFailsWithItsIdentifier)
{
    try {
        File::Location::appGroup("group.never.registered", "x").url(fileManager);
        FAIL() << "resolution succeeded";
    } catch (const Basalwork::GeneralError& error) {
        auto* failure = error.as<Basalwork::GeneralError::FailedWithMessage>();
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->message, "Failed to access url for appGroup: group.never.registered");
    }
}

TEST_F(FileLocationTest, FileManagerErrorsPassThroughUnchanged)
{
    std::ofstream(home.path() / "blocker") << "a file where a folder should go";
    try {
        File::Location::raw((home.path() / "blocker/inside").string()).url(fileManager);
        FAIL() << "resolution succeeded";
    } catch (const Foundation::NSError& error) {
        EXPECT_EQ(error.domain(), Foundation::NSCocoaErrorDomain);
        EXPECT_EQ(error.code(), Foundation::CocoaError::fileWriteFileExists);
    }
}

TEST(NSDirectoryEnumerationOptions, SkipsHiddenFilesAndDecendentsIsTheUnionOfTheThreeSkips)
{
    EXPECT_EQ(Basalwork::skipsHiddenFilesAndDecendents.rawValue, 7u);
    EXPECT_TRUE(Basalwork::skipsHiddenFilesAndDecendents.contains(Foundation::NSDirectoryEnumerationOptions::skipsHiddenFiles()));
}
