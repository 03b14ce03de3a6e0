#include "Platform/Foundation/FileManager.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/ProcessInfo.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <pwd.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace Foundation {
namespace {

using Access = CocoaError::Access;

std::string pathOf(const URL& url)
{
    return url.path().utf8();
}

std::optional<std::string> absoluteEnvironmentPath(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || value[0] != '/')
        return std::nullopt;
    return std::string(value);
}

std::string homeDirectory()
{
    if (auto home = absoluteEnvironmentPath("HOME"))
        return *home;
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return "/";
}

// An XDG base directory; relative values are ignored, as the XDG rules ask.
std::string xdgDirectory(const char* variable, const char* fallbackInHome)
{
    if (auto value = absoluteEnvironmentPath(variable))
        return *value;
    return homeDirectory() + "/" + fallbackInHome;
}

std::string applicationFolderName()
{
    auto identifier = Bundle::main()->bundleIdentifier();
    if (identifier && !identifier->trimmingCharacters(CharacterSet::whitespacesAndNewlines()).isEmpty())
        return identifier->utf8();
    return ProcessInfo::processInfo()->processName().utf8();
}

struct ApplicationGroups {
    std::mutex mutex;
    std::set<std::string> registered;
};

ApplicationGroups& applicationGroups()
{
    static auto* groups = new ApplicationGroups;
    return *groups;
}

bool isApplicationGroupMember(const std::string& identifier)
{
    {
        auto& groups = applicationGroups();
        std::lock_guard lock(groups.mutex);
        if (groups.registered.contains(identifier))
            return true;
    }
    auto entitled = Bundle::main()->object("com.apple.security.application-groups");
    const auto* groups = entitled ? entitled->array() : nullptr;
    if (!groups)
        return false;
    for (const auto& group : *groups)
        if (group.as<std::string>() == identifier)
            return true;
    return false;
}

bool itemExists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

} // namespace

const std::shared_ptr<FileManager>& FileManager::defaultManager()
{
    static auto* manager = new std::shared_ptr<FileManager>(make<FileManager>());
    return *manager;
}

URL FileManager::url(SearchPathDirectory forDirectory, SearchPathDomainMask, const std::optional<URL>&, bool create) const
{
    std::string base = forDirectory == SearchPathDirectory::cachesDirectory ? xdgDirectory("XDG_CACHE_HOME", ".cache")
                                                                            : xdgDirectory("XDG_DATA_HOME", ".local/share");
    auto url = URL::fileURLWithPath(base + "/" + applicationFolderName(), true);
    if (create)
        createDirectory(url, true);
    return url;
}

URL FileManager::temporaryDirectory() const
{
    return URL::fileURLWithPath(absoluteEnvironmentPath("TMPDIR").value_or("/tmp"), true);
}

std::optional<URL> FileManager::containerURL(const String& identifier) const
{
    const std::string& name = identifier.utf8();
    if (identifier.trimmingCharacters(CharacterSet::whitespacesAndNewlines()).isEmpty()
        || name.find('/') != std::string::npos || name == "." || name == "..")
        return std::nullopt;
    if (!isApplicationGroupMember(name))
        return std::nullopt;
    auto url = URL::fileURLWithPath(xdgDirectory("XDG_DATA_HOME", ".local/share") + "/AppGroups/" + name, true);
    // A container that cannot be made still has its URL: the caller's own use reports why.
    auto path = pathOf(url);
    FileIO::makeDirectories(path);
    // The vault lives here: one left open to others by an earlier version is closed.
    FileIO::restrictToOwner(FileIO::parentDirectory(path));
    FileIO::restrictToOwner(path);
    return url;
}

URL FileManager::preferencesDirectory() const
{
    return URL::fileURLWithPath(xdgDirectory("XDG_CONFIG_HOME", ".config") + "/Preferences", true);
}

String FileManager::applicationIdentifier() const
{
    return applicationFolderName();
}

void FileManager::registerApplicationGroup(const String& identifier)
{
    auto& groups = applicationGroups();
    std::lock_guard lock(groups.mutex);
    groups.registered.insert(identifier.utf8());
}

void FileManager::createDirectory(const URL& at, bool withIntermediateDirectories) const
{
    std::string path = pathOf(at);
    if (!withIntermediateDirectories) {
        if (::mkdir(path.c_str(), FileIO::ownerOnlyDirectoryMode) != 0)
            throw CocoaError::fileError(errno, path, Access::writing);
        return;
    }
    if (int error = FileIO::makeDirectories(path))
        throw CocoaError::fileError(error, path, Access::writing);
}

bool FileManager::fileExists(const String& atPath) const
{
    bool isDirectory = false;
    return fileExists(atPath, isDirectory);
}

bool FileManager::fileExists(const String& atPath, bool& isDirectory) const
{
    struct stat info {};
    if (atPath.isEmpty() || ::stat(atPath.c_str(), &info) != 0)
        return false;
    isDirectory = S_ISDIR(info.st_mode);
    return true;
}

bool FileManager::createFile(const String& atPath, const std::optional<Data>& contents) const
{
    if (atPath.isEmpty())
        return false;
    try {
        FileIO::writeFile(atPath.utf8(), contents.value_or(Data()), true);
        return true;
    } catch (const Error&) {
        return false;
    }
}

std::vector<URL> FileManager::contentsOfDirectory(const URL& at, NSDirectoryEnumerationOptions options) const
{
    std::string path = pathOf(at);
    std::unique_ptr<DIR, int (*)(DIR*)> directory(::opendir(path.c_str()), ::closedir);
    if (!directory)
        throw CocoaError::fileError(errno, path, Access::reading);
    bool skipsHidden = options.contains(NSDirectoryEnumerationOptions::skipsHiddenFiles());
    std::vector<URL> contents;
    while (const dirent* entry = ::readdir(directory.get())) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || (skipsHidden && name.front() == '.'))
            continue;
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            isDirectory = ::lstat((path + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        contents.push_back(at.appendingPathComponent(name, isDirectory));
    }
    return contents;
}

void FileManager::copyItem(const URL& at, const URL& to) const
{
    std::string source = pathOf(at);
    std::string destination = pathOf(to);
    struct stat info {};
    if (::lstat(source.c_str(), &info) != 0)
        throw CocoaError::fileError(errno, source, Access::reading);
    if (itemExists(destination))
        throw CocoaError::fileError(EEXIST, destination, Access::writing);
    std::error_code error;
    std::filesystem::copy(source, destination,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks, error);
    if (error) {
        // The destination did not exist: whatever is there now is a partial copy of ours.
        std::error_code ignored;
        std::filesystem::remove_all(destination, ignored);
        throw CocoaError::fileError(error.value(), destination, Access::writing);
    }
}

void FileManager::moveItem(const URL& at, const URL& to) const
{
    std::string source = pathOf(at);
    std::string destination = pathOf(to);
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0)
        return;
    int error = errno;
    if (error == EINVAL && itemExists(source) && !itemExists(destination))
        error = ::rename(source.c_str(), destination.c_str()) == 0 ? 0 : errno; // no RENAME_NOREPLACE here
    if (error == EXDEV) {
        copyItem(at, to);
        removeItem(at);
        return;
    }
    if (error)
        throw CocoaError::fileError(error, error == EEXIST ? destination : source, Access::writing);
}

std::optional<URL> FileManager::replaceItemAt(const URL& originalItemURL, const URL& withItemAt,
                                              const std::optional<String>& backupItemName,
                                              ItemReplacementOptions options) const
{
    std::string original = pathOf(originalItemURL);
    std::string replacement = pathOf(withItemAt);
    if (!itemExists(replacement))
        throw CocoaError::fileError(ENOENT, replacement, Access::writing);
    std::optional<std::string> backup;
    if (backupItemName && !backupItemName->isEmpty() && options.contains(ItemReplacementOptions::withoutDeletingBackupItem()))
        backup = FileIO::parentDirectory(original) + "/" + backupItemName->utf8();

    // Moves `from` into the original's place. When the original existed, it is swapped out to `from`
    // (answered true), so that nobody ever sees the original's path empty.
    auto place = [&](const std::string& from, bool& swapped) -> int {
        FileIO::sync(from);
        swapped = false;
        if (!itemExists(original))
            return ::rename(from.c_str(), original.c_str()) == 0 ? 0 : errno;
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, original.c_str(), RENAME_EXCHANGE) == 0) {
            swapped = true;
            return 0;
        }
        if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            return errno;
        // A file system that cannot swap: keep the backup by copy, then rename over the original.
        if (backup) {
            std::error_code ignored;
            std::filesystem::remove_all(*backup, ignored);
            std::filesystem::copy(original, *backup, std::filesystem::copy_options::recursive, ignored);
        }
        struct stat info {};
        if (::lstat(original.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            std::error_code ignored;
            std::filesystem::remove_all(original, ignored);
        }
        return ::rename(from.c_str(), original.c_str()) == 0 ? 0 : errno;
    };

    bool swapped = false;
    std::string placed = replacement;
    int error = place(replacement, swapped);
    if (error == EXDEV) {
        // Across file systems: copy beside the original first, so that the last step is still a rename.
        placed = FileIO::temporarySiblingPath(original);
        copyItem(withItemAt, URL::fileURLWithPath(placed));
        error = place(placed, swapped);
        if (!error) {
            std::error_code ignored;
            std::filesystem::remove_all(replacement, ignored);
        }
    }
    if (error) {
        if (placed != replacement) {
            std::error_code ignored;
            std::filesystem::remove_all(placed, ignored);
        }
        throw CocoaError::fileError(error, original, Access::writing);
    }
    FileIO::sync(FileIO::parentDirectory(original));

    if (swapped) {
        // `placed` now holds the old original.
        std::error_code ignored;
        if (backup) {
            std::filesystem::remove_all(*backup, ignored);
            if (::rename(placed.c_str(), backup->c_str()) == 0)
                return originalItemURL;
        }
        std::filesystem::remove_all(placed, ignored);
    }
    return originalItemURL;
}

void FileManager::removeItem(const URL& at) const
{
    std::string path = pathOf(at);
    if (!itemExists(path))
        throw CocoaError::fileError(errno, path, Access::writing);
    std::error_code error;
    std::filesystem::remove_all(path, error);
    if (error)
        throw CocoaError::fileError(error.value(), path, Access::writing);
}

FileManager::Attributes FileManager::attributesOfItem(const String& atPath) const
{
    struct stat info {};
    if (::lstat(atPath.c_str(), &info) != 0)
        throw CocoaError::fileError(errno, atPath.utf8(), Access::reading);
    Attributes attributes;
    attributes.size = static_cast<std::uint64_t>(info.st_size);
    attributes.type = S_ISREG(info.st_mode) ? FileType::regular
        : S_ISDIR(info.st_mode)             ? FileType::directory
        : S_ISLNK(info.st_mode)             ? FileType::symbolicLink
                                            : FileType::other;
    attributes.modificationDate = Date::fromTimeIntervalSince1970(static_cast<double>(info.st_mtim.tv_sec)
                                                                  + static_cast<double>(info.st_mtim.tv_nsec) / 1e9);
    return attributes;
}

} // namespace Foundation
