#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/ProcessInfo.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Foundation;
using TestSupport::FileSizeLimit;
using TestSupport::readText;
using TestSupport::writeText;
namespace fs = std::filesystem;

namespace {

class FileManagerTest : public testing::Test {
protected:
    // Each test gets a home of its own, inside the process's temporary home.
    TestSupport::TemporaryHome home;
    FileManager& fileManager = *FileManager::defaultManager();

    fs::path root() const { return home.path() / "work"; }
    URL url(const std::string& relative, std::optional<bool> isDirectory = false) const
    {
        return URL::fileURLWithPath((root() / relative).string(), isDirectory);
    }
    void SetUp() override { fs::create_directories(root()); }
};

// Runs `body`, which must throw an NSError, and returns that error.
template <class Body>
NSError thrownError(Body&& body)
{
    try {
        body();
    } catch (const NSError& error) {
        return error;
    }
    ADD_FAILURE() << "no NSError was thrown";
    return NSError("none", 0);
}

void expectFileError(const NSError& error, std::int64_t code, const std::string& path, int posixError)
{
    EXPECT_EQ(error.domain(), NSCocoaErrorDomain);
    EXPECT_EQ(error.code(), code);
    EXPECT_EQ(error.userInfo().at(NSFilePathErrorKey), path);
    ASSERT_TRUE(error.underlyingError());
    EXPECT_EQ(error.underlyingError()->domain(), NSPOSIXErrorDomain);
    EXPECT_EQ(error.underlyingError()->code(), posixError);
    auto name = fs::path(path).filename().string();
    EXPECT_NE(error.localizedDescription().find("\u201C" + name + "\u201D"), std::string::npos) << error.localizedDescription();
}

} // namespace

TEST_F(FileManagerTest, PlatformDirectoriesFollowTheXDGLayoutAndTheApplicationName)
{
    auto name = ProcessInfo::processInfo()->processName().utf8();
    auto support = fileManager.url(FileManager::SearchPathDirectory::applicationSupportDirectory,
                                   FileManager::SearchPathDomainMask::userDomainMask, std::nullopt, false);
    EXPECT_EQ(support.path(), String((home.path() / ".local/share" / name).string()));
    EXPECT_TRUE(support.hasDirectoryPath());
    EXPECT_FALSE(fs::exists(support.path().utf8()));

    auto caches = fileManager.url(FileManager::SearchPathDirectory::cachesDirectory,
                                  FileManager::SearchPathDomainMask::userDomainMask, std::nullopt, true);
    EXPECT_EQ(caches.path(), String((home.path() / ".cache" / name).string()));
    EXPECT_TRUE(fs::is_directory(caches.path().utf8()));

    EXPECT_EQ(fileManager.temporaryDirectory(), URL::fileURLWithPath((home.path() / "tmp").string(), true));
}

TEST_F(FileManagerTest, TheBundleIdentifierNamesTheApplicationFolder)
{
    auto previous = Bundle::main();
    Bundle::setMain(Bundle::withInfoDictionary(Bundle::InfoDictionary {{"CFBundleIdentifier", "com.example.app"}}));
    auto support = fileManager.url(FileManager::SearchPathDirectory::applicationSupportDirectory,
                                   FileManager::SearchPathDomainMask::userDomainMask, std::nullopt, false);
    Bundle::setMain(previous);
    EXPECT_EQ(support.lastPathComponent(), "com.example.app");
}

TEST_F(FileManagerTest, OnlyGroupsTheProcessBelongsToHaveAContainer)
{
    EXPECT_EQ(fileManager.containerURL("group.unknown.example"), std::nullopt);
    EXPECT_EQ(fileManager.containerURL(" \n"), std::nullopt);

    FileManager::registerApplicationGroup("group.registered.example");
    auto container = fileManager.containerURL("group.registered.example");
    ASSERT_TRUE(container);
    EXPECT_EQ(container->path(), String((home.path() / ".local/share/AppGroups/group.registered.example").string()));
    EXPECT_TRUE(fs::is_directory(container->path().utf8()));

    FileManager::registerApplicationGroup("..");
    FileManager::registerApplicationGroup("a/b");
    EXPECT_EQ(fileManager.containerURL(".."), std::nullopt);
    EXPECT_EQ(fileManager.containerURL("a/b"), std::nullopt);

    auto previous = Bundle::main();
    Bundle::setMain(Bundle::withInfoDictionary(
        Bundle::InfoDictionary {{"com.apple.security.application-groups", PropertyListValue::Array {"group.entitled.example"}}}));
    auto entitled = fileManager.containerURL("group.entitled.example");
    Bundle::setMain(previous);
    EXPECT_TRUE(entitled);
}

TEST_F(FileManagerTest, CreatingDirectories)
{
    auto nested = url("a/b/c", true);
    fileManager.createDirectory(nested, true);
    EXPECT_TRUE(fs::is_directory(root() / "a/b/c"));
    EXPECT_NO_THROW(fileManager.createDirectory(nested, true));

    auto existing = thrownError([&] { fileManager.createDirectory(nested, false); });
    EXPECT_EQ(existing.code(), CocoaError::fileWriteFileExists);
    auto missingParent = thrownError([&] { fileManager.createDirectory(url("x/y", true), false); });
    expectFileError(missingParent, CocoaError::fileNoSuchFile, (root() / "x/y").string(), ENOENT);

    writeText(root() / "file", "contents");
    auto fileInTheWay = thrownError([&] { fileManager.createDirectory(url("file/sub", true), true); });
    EXPECT_EQ(fileInTheWay.code(), CocoaError::fileWriteFileExists);
    EXPECT_EQ(fileInTheWay.userInfo().at(NSFilePathErrorKey), (root() / "file/sub").string());
    EXPECT_THROW(fileManager.createDirectory(url("file", true), true), NSError);
    EXPECT_EQ(readText(root() / "file"), "contents");
}

TEST_F(FileManagerTest, ExistenceFollowsLinksAndReportsDirectories)
{
    writeText(root() / "file", "");
    fs::create_symlink(root() / "missing", root() / "dangling");
    bool isDirectory = true;
    EXPECT_TRUE(fileManager.fileExists((root() / "file").string(), isDirectory));
    EXPECT_FALSE(isDirectory);
    EXPECT_TRUE(fileManager.fileExists(root().string(), isDirectory));
    EXPECT_TRUE(isDirectory);
    EXPECT_FALSE(fileManager.fileExists((root() / "dangling").string()));
    EXPECT_FALSE(fileManager.fileExists(""));
}

TEST_F(FileManagerTest, CreateFileReplacesContentsAndAnswersFailure)
{
    auto path = (root() / "new").string();
    EXPECT_TRUE(fileManager.createFile(path, Data::fromString("abc")));
    EXPECT_EQ(readText(path), "abc");
    EXPECT_TRUE(fileManager.createFile(path, std::nullopt));
    EXPECT_EQ(readText(path), "");
    EXPECT_FALSE(fileManager.createFile((root() / "missing/new").string(), std::nullopt));
    EXPECT_FALSE(fs::exists(root() / "missing"));
}

TEST_F(FileManagerTest, ListingADirectory)
{
    writeText(root() / "a.txt", "");
    writeText(root() / ".hidden", "");
    fs::create_directories(root() / "sub/deeper");
    auto listing = [&](NSDirectoryEnumerationOptions options) {
        std::vector<std::string> names;
        for (const auto& item : fileManager.contentsOfDirectory(url("", true), options))
            names.push_back(item.absoluteString().utf8().substr(url("", true).absoluteString().utf8().size()));
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(listing({}), (std::vector<std::string> {".hidden", "a.txt", "sub/"}));
    EXPECT_EQ(listing(NSDirectoryEnumerationOptions::skipsHiddenFiles()), (std::vector<std::string> {"a.txt", "sub/"}));

    auto missing = thrownError([&] { fileManager.contentsOfDirectory(url("nothing", true)); });
    expectFileError(missing, CocoaError::fileReadNoSuchFile, (root() / "nothing").string(), ENOENT);
}

TEST_F(FileManagerTest, CopyingNeverOverwrites)
{
    writeText(root() / "source", "source");
    fs::create_directories(root() / "tree/inner");
    writeText(root() / "tree/inner/leaf", "leaf");

    fileManager.copyItem(url("source"), url("copy"));
    fileManager.copyItem(url("tree", true), url("tree copy", true));
    EXPECT_EQ(readText(root() / "copy"), "source");
    EXPECT_EQ(readText(root() / "tree copy/inner/leaf"), "leaf");
    EXPECT_EQ(readText(root() / "source"), "source");

    writeText(root() / "copy", "mine");
    auto exists = thrownError([&] { fileManager.copyItem(url("source"), url("copy")); });
    expectFileError(exists, CocoaError::fileWriteFileExists, (root() / "copy").string(), EEXIST);
    EXPECT_EQ(readText(root() / "copy"), "mine");

    auto missing = thrownError([&] { fileManager.copyItem(url("nothing"), url("other")); });
    expectFileError(missing, CocoaError::fileReadNoSuchFile, (root() / "nothing").string(), ENOENT);
}

TEST_F(FileManagerTest, MovingNeverOverwrites)
{
    writeText(root() / "a", "a");
    writeText(root() / "b", "b");
    auto exists = thrownError([&] { fileManager.moveItem(url("a"), url("b")); });
    EXPECT_EQ(exists.code(), CocoaError::fileWriteFileExists);
    EXPECT_EQ(readText(root() / "a"), "a");
    EXPECT_EQ(readText(root() / "b"), "b");

    fileManager.moveItem(url("a"), url("c"));
    EXPECT_FALSE(fs::exists(root() / "a"));
    EXPECT_EQ(readText(root() / "c"), "a");
    EXPECT_EQ(thrownError([&] { fileManager.moveItem(url("a"), url("d")); }).code(), CocoaError::fileNoSuchFile);
}

TEST_F(FileManagerTest, ReplacingAnItemConsumesTheNewOne)
{
    writeText(root() / "new", "new");
    EXPECT_EQ(fileManager.replaceItemAt(url("original"), url("new")), url("original"));
    EXPECT_EQ(readText(root() / "original"), "new");
    EXPECT_FALSE(fs::exists(root() / "new"));

    writeText(root() / "newer", "newer");
    fileManager.replaceItemAt(url("original"), url("newer"));
    EXPECT_EQ(readText(root() / "original"), "newer");
    EXPECT_EQ(TestSupport::entryNames(root()), (std::vector<std::string> {"original"}));

    auto missing = thrownError([&] { fileManager.replaceItemAt(url("original"), url("nothing")); });
    EXPECT_EQ(missing.code(), CocoaError::fileNoSuchFile);
    EXPECT_EQ(readText(root() / "original"), "newer");
}

TEST_F(FileManagerTest, ReplacingADirectoryAndKeepingABackup)
{
    fs::create_directories(root() / "folder");
    writeText(root() / "folder/old", "old");
    fs::create_directories(root() / "incoming");
    writeText(root() / "incoming/fresh", "fresh");
    fileManager.replaceItemAt(url("folder", true), url("incoming", true), String("folder.backup"),
                              FileManager::ItemReplacementOptions::withoutDeletingBackupItem());
    EXPECT_EQ(TestSupport::entryNames(root() / "folder"), (std::vector<std::string> {"fresh"}));
    EXPECT_EQ(readText(root() / "folder.backup/old"), "old");
    EXPECT_FALSE(fs::exists(root() / "incoming"));

    writeText(root() / "again", "again");
    fileManager.replaceItemAt(url("folder", true), url("again"), String("dropped"));
    EXPECT_EQ(readText(root() / "folder"), "again");
    EXPECT_FALSE(fs::exists(root() / "dropped"));
}

TEST_F(FileManagerTest, RemovingIsRecursiveAndAMissingItemIsAnError)
{
    fs::create_directories(root() / "tree/a/b");
    writeText(root() / "tree/a/b/leaf", "leaf");
    fileManager.removeItem(url("tree", true));
    EXPECT_FALSE(fs::exists(root() / "tree"));
    auto missing = thrownError([&] { fileManager.removeItem(url("tree", true)); });
    expectFileError(missing, CocoaError::fileNoSuchFile, (root() / "tree").string(), ENOENT);
}

TEST_F(FileManagerTest, AttributesOfAnItem)
{
    writeText(root() / "file", "12345");
    auto attributes = fileManager.attributesOfItem((root() / "file").string());
    EXPECT_EQ(attributes.size, 5u);
    EXPECT_EQ(attributes.type, FileManager::FileType::regular);
    EXPECT_GT(attributes.modificationDate.timeIntervalSinceReferenceDate(), 0);
    EXPECT_EQ(fileManager.attributesOfItem(root().string()).type, FileManager::FileType::directory);
    EXPECT_EQ(thrownError([&] { fileManager.attributesOfItem((root() / "none").string()); }).code(),
              CocoaError::fileReadNoSuchFile);
}

using DataFileTest = FileManagerTest;

TEST_F(DataFileTest, WritesAndReadsWholeFiles)
{
    Data data(std::vector<std::uint8_t>(200000, 0));
    for (std::size_t i = 0; i < data.count(); ++i)
        data.mutableBytes()[i] = static_cast<std::uint8_t>(i * 31);
    data.write(url("plain"));
    data.write(url("atomic"), Data::WritingOptions::atomic());
    EXPECT_EQ(Data::contentsOf(url("plain")), data);
    EXPECT_EQ(Data::contentsOf(url("atomic")), data);
    Data::fromString("short").write(url("atomic"), Data::WritingOptions::atomic());
    EXPECT_EQ(Data::contentsOf(url("atomic")), Data::fromString("short"));
    EXPECT_EQ(TestSupport::entryNames(root()), (std::vector<std::string> {"atomic", "plain"}));
}

TEST_F(DataFileTest, ReadFailuresNameTheFile)
{
    auto missing = thrownError([&] { Data::contentsOf(url("missing.txt")); });
    expectFileError(missing, CocoaError::fileReadNoSuchFile, (root() / "missing.txt").string(), ENOENT);
    EXPECT_EQ(missing.localizedDescription(), "The file \u201Cmissing.txt\u201D couldn\u2019t be opened because there is no such file.");
    auto directory = thrownError([&] { Data::contentsOf(url("", true)); });
    EXPECT_EQ(directory.code(), CocoaError::fileReadUnknown);
    EXPECT_EQ(thrownError([&] { Data::contentsOf(*URL::string("https://example.com/x")); }).code(),
              CocoaError::fileReadUnsupportedScheme);
}

TEST_F(DataFileTest, WriteFailuresNameTheFile)
{
    auto missing = thrownError([&] { Data::fromString("x").write(url("no/such/file"), Data::WritingOptions::atomic()); });
    expectFileError(missing, CocoaError::fileNoSuchFile, (root() / "no/such/file").string(), ENOENT);
    auto plain = thrownError([&] { Data::fromString("x").write(url("no/such/file")); });
    EXPECT_EQ(plain.code(), CocoaError::fileNoSuchFile);
    EXPECT_EQ(thrownError([&] { Data().write(*URL::string("https://example.com/x")); }).code(),
              CocoaError::fileWriteUnsupportedScheme);
}

TEST_F(DataFileTest, AnInterruptedAtomicWriteLeavesTheOldContentsWhole)
{
    auto old = Data::fromString("the old contents, all of them");
    old.write(url("store"), Data::WritingOptions::atomic());
    Data large(std::vector<std::uint8_t>(256 * 1024, 'x'));
    {
        FileSizeLimit limit(64 * 1024);
        auto error = thrownError([&] { large.write(url("store"), Data::WritingOptions::atomic()); });
        expectFileError(error, CocoaError::fileWriteUnknown, (root() / "store").string(), EFBIG);
    }
    EXPECT_EQ(Data::contentsOf(url("store")), old);
    EXPECT_EQ(TestSupport::entryNames(root()), (std::vector<std::string> {"store"}));
}

TEST_F(DataFileTest, AFailedRenameRemovesTheTemporaryFile)
{
    fs::create_directories(root() / "occupied/inside");
    auto error = thrownError([&] { Data::fromString("x").write(url("occupied"), Data::WritingOptions::atomic()); });
    EXPECT_EQ(error.domain(), NSCocoaErrorDomain);
    EXPECT_EQ(TestSupport::entryNames(root()), (std::vector<std::string> {"occupied"}));
    EXPECT_EQ(TestSupport::entryNames(root() / "occupied"), (std::vector<std::string> {"inside"}));
}

// Everything written is its owner's alone, whatever the umask; a replaced file keeps only its owner's
// permissions.
TEST_F(DataFileTest, WrittenFilesAndMadeFoldersAreTheOwnersAlone)
{
    constexpr auto fileMode = fs::perms::owner_read | fs::perms::owner_write;
    auto modeOf = [&](const std::string& relative) { return fs::status(root() / relative).permissions() & fs::perms::all; };
    FileManager::registerApplicationGroup("group.permissions.example");
    auto previous = ::umask(0);
    Data::fromString("x").write(url("atomic"), Data::WritingOptions::atomic());
    Data::fromString("x").write(url("plain"));
    fileManager.createFile(String((root() / "created").string()), Data::fromString("x"));
    fileManager.createDirectory(url("a/b/c", true), true);
    fileManager.createDirectory(url("single", true), false);
    auto container = fileManager.containerURL("group.permissions.example");
    ::umask(022);
    FileIO::AtomicWriter parts((root() / "parts").string());
    parts.write("x", 1);
    parts.commit();
    writeText(root() / "shared", "old");
    fs::permissions(root() / "shared", fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    Data::fromString("new").write(url("shared"), Data::WritingOptions::atomic());
    ::umask(previous);

    for (const char* file : {"atomic", "plain", "created", "parts"})
        EXPECT_EQ(modeOf(file), fileMode) << file;
    for (const char* folder : {"a", "a/b", "a/b/c", "single"})
        EXPECT_EQ(modeOf(folder), fs::perms::owner_all) << folder;
    EXPECT_EQ(modeOf("shared"), fs::perms::owner_all);
    EXPECT_EQ(readText(root() / "shared"), "new");
    ASSERT_TRUE(container);
    auto containerPath = fs::path(container->path().utf8()).lexically_normal();
    if (!containerPath.has_filename())
        containerPath = containerPath.parent_path();
    EXPECT_EQ(fs::status(containerPath).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(fs::status(containerPath.parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
}

// An installation of an earlier version left its container and preferences readable to everyone.
TEST_F(DataFileTest, FoldersLeftOpenToOthersAreClosedWhenTheyAreUsed)
{
    constexpr auto open = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    auto appGroups = home.path() / ".local/share/AppGroups";
    auto preferences = fs::path(fileManager.preferencesDirectory().path().utf8());
    for (const auto& folder : {appGroups / "group.earlier.example", preferences}) {
        fs::create_directories(folder);
        fs::permissions(folder, open);
    }
    fs::permissions(appGroups, open);
    writeText(appGroups / "group.earlier.example/records.json", "{}");
    fs::permissions(appGroups / "group.earlier.example/records.json", fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);

    FileManager::registerApplicationGroup("group.earlier.example");
    ASSERT_TRUE(fileManager.containerURL("group.earlier.example"));
    UserDefaults::withSuiteName("group.earlier.example")->set(PropertyListValue(true), "seen");
    for (const auto& folder : {appGroups, appGroups / "group.earlier.example", preferences})
        EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all) << folder;
}

TEST_F(DataFileTest, TemporaryNamesHaveOneLengthSoEveryNameCanBeWritten)
{
    const std::string longest(255, 'k');
    for (const auto& name : {std::string("a"), std::string(214, 'k'), longest})
        EXPECT_EQ(fs::path(FileIO::temporarySiblingPath((root() / name).string())).filename().string().size(), 56u);
    Data::fromString("x").write(url(longest), Data::WritingOptions::atomic());
    EXPECT_EQ(readText(root() / longest), "x");
}

TEST_F(DataFileTest, AnAtomicWriteRemovesWhatInterruptedWritesOfTheSameFileLeft)
{
    const auto target = (root() / "store").string();
    const auto other = (root() / "other").string();
    // Writers that died half way, as a killed process leaves them.
    auto leftBehindByADeadWriter = [](const std::string& destination) {
        auto child = ::fork();
        if (child == 0) {
            std::ofstream(FileIO::temporarySiblingPath(destination)) << "half";
            ::_exit(0);
        }
        ::waitpid(child, nullptr, 0);
    };
    leftBehindByADeadWriter(target);
    leftBehindByADeadWriter(target);
    leftBehindByADeadWriter(other);
    // A writer of this process still filling its file.
    const auto live = fs::path(FileIO::temporarySiblingPath(target)).filename().string();
    writeText(root() / live, "filling");
    // Files of writers on another machine sharing the folder: judged by age alone.
    auto elsewhere = [&](const std::string& name) { return std::string(name).replace(18, 8, "0000beef"); };
    const auto recentElsewhere = elsewhere(fs::path(FileIO::temporarySiblingPath(target)).filename().string());
    const auto abandonedElsewhere = elsewhere(fs::path(FileIO::temporarySiblingPath(target)).filename().string());
    writeText(root() / recentElsewhere, "recent");
    writeText(root() / abandonedElsewhere, "abandoned");
    fs::last_write_time(root() / abandonedElsewhere, fs::file_time_type::clock::now() - std::chrono::hours(25));
    ASSERT_EQ(TestSupport::entryNames(root()).size(), 6u);

    Data::fromString("new").write(url("store"), Data::WritingOptions::atomic());
    auto names = TestSupport::entryNames(root());
    EXPECT_EQ(names.size(), 4u); // the file, the other file's leftover, the live and the recent one
    EXPECT_TRUE(std::find(names.begin(), names.end(), live) != names.end());
    EXPECT_TRUE(std::find(names.begin(), names.end(), recentElsewhere) != names.end());
    EXPECT_TRUE(std::find(names.begin(), names.end(), abandonedElsewhere) == names.end());
    EXPECT_EQ(readText(root() / "store"), "new");
    EXPECT_EQ(readText(root() / live), "filling");
}
