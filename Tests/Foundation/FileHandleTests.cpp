#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FileHandle.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/StringTransform.hpp"

#include <filesystem>
#include <gtest/gtest.h>

using Foundation::Data;
using Foundation::FileHandle;
using Foundation::URL;
using Foundation::URLResourceKey;
namespace fs = std::filesystem;

namespace {

class FileHandleTest : public testing::Test {
protected:
    TestSupport::TemporaryHome home;

    URL url(const std::string& name) const { return URL::fileURLWithPath((home.path() / name).string()); }
};

} // namespace

TEST_F(FileHandleTest, ReadsUpToTheLengthAskedUntilTheEnd)
{
    TestSupport::writeText(home.path() / "file", "abcdefg");
    auto handle = FileHandle::forReadingFrom(url("file"));
    EXPECT_EQ(handle->readData(3), Data::fromString("abc"));
    EXPECT_EQ(handle->readData(std::int64_t(1) << 40), Data::fromString("defg"));
    EXPECT_EQ(handle->readData(3), Data());
    handle->closeFile();
    handle->closeFile();
    EXPECT_EQ(handle->readData(3), Data());
}

TEST_F(FileHandleTest, OnlyExistingFilesOpen)
{
    try {
        FileHandle::forReadingFrom(url("missing"));
        FAIL() << "opened a missing file";
    } catch (const Foundation::NSError& error) {
        EXPECT_EQ(error.code(), Foundation::CocoaError::fileReadNoSuchFile);
    }
    fs::create_directory(home.path() / "folder");
    EXPECT_THROW(FileHandle::forReadingFrom(url("folder")), Foundation::NSError);
    EXPECT_THROW(FileHandle::forReadingFrom(*URL::string("https://example.com/file")), Foundation::NSError);
}

TEST_F(FileHandleTest, FileSizesFollowLinksAndOnlyFilesHaveOne)
{
    TestSupport::writeText(home.path() / "file", "12345");
    fs::create_symlink(home.path() / "file", home.path() / "link");
    fs::create_directory(home.path() / "folder");
    EXPECT_EQ(url("link").resourceValues({URLResourceKey::fileSizeKey}).fileSize, 5);
    EXPECT_EQ(url("file").resourceValues({}).fileSize, std::nullopt);
    EXPECT_EQ(url("folder").resourceValues({URLResourceKey::fileSizeKey}).fileSize, std::nullopt);
    EXPECT_THROW(url("missing").resourceValues({URLResourceKey::fileSizeKey}), Foundation::NSError);
    EXPECT_FALSE(url("file").startAccessingSecurityScopedResource());
}

TEST(StringTransformTest, RunsICUTransformsAndRefusesUnknownOnes)
{
    Foundation::String text("\u00C0 bient\u00F4t \u0141\u00F3d\u017A");
    EXPECT_EQ(text.applyingTransform({"Latin-ASCII; Lower"}, false), Foundation::String("a bientot lodz"));
    EXPECT_EQ(text.applyingTransform({"No-Such-Transform"}, false), std::nullopt);
}
