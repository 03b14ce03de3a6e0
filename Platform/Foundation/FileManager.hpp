#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NSDirectoryEnumerationOptions.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/OptionSet.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace Foundation {

// The file manager on the real file system. Platform directories map onto the XDG layout under the
// user's home. Failures are thrown as NSError in NSCocoaErrorDomain with the platform's codes, the path
// under NSFilePathErrorKey and the system's error as the underlying NSPOSIXErrorDomain error.
class FileManager : public NSObject {
public:
    // Raw values as the platform's.
    enum class SearchPathDirectory : std::uint64_t {
        cachesDirectory = 13,
        applicationSupportDirectory = 14,
    };
    enum class SearchPathDomainMask : std::uint64_t {
        userDomainMask = 1,
    };
    // An option set; `{}` is none.
    struct ItemReplacementOptions : Foundation::OptionSet<ItemReplacementOptions> {
        static constexpr ItemReplacementOptions usingNewMetadataOnly() { return {1u << 0}; }
        static constexpr ItemReplacementOptions withoutDeletingBackupItem() { return {1u << 1}; }
    };
    enum class FileType {
        regular,
        directory,
        symbolicLink,
        other,
    };
    struct Attributes {
        std::uint64_t size = 0;
        FileType type = FileType::other;
        Date modificationDate;
    };

    static const std::shared_ptr<FileManager>& defaultManager();

    // Application support: $XDG_DATA_HOME (or ~/.local/share); caches: $XDG_CACHE_HOME (or ~/.cache);
    // each followed by a folder named after the main bundle's identifier, or the process name when the
    // bundle has none. `appropriateFor` takes no part. `create` makes the directory.
    URL url(SearchPathDirectory forDirectory, SearchPathDomainMask in, const std::optional<URL>& appropriateFor,
            bool create) const;
    // $TMPDIR, or /tmp. Not created.
    URL temporaryDirectory() const;
    // $XDG_DATA_HOME/AppGroups/<identifier>, created on demand, for a group the process belongs to: one
    // listed in the main bundle's "com.apple.security.application-groups" array, or registered with
    // `registerApplicationGroup`. Nothing for any other group, a blank identifier, or one that is not a
    // single path component.
    std::optional<URL> containerURL(const String& forSecurityApplicationGroupIdentifier) const;
    // Makes the process a member of a group, as an entitlement would; for tests and tools.
    static void registerApplicationGroup(const String& identifier);
    // Where user defaults keep one file per domain: $XDG_CONFIG_HOME (or ~/.config) followed by
    // "Preferences". Not created.
    URL preferencesDirectory() const;
    // The main bundle's identifier, or the process name when it has none: the name of the program's own
    // folders and of its defaults domain.
    String applicationIdentifier() const;

    // An existing directory is no error when creating intermediates; without, it fails as the platform
    // does. An existing file in the way always fails.
    void createDirectory(const URL& at, bool withIntermediateDirectories) const;
    // Follows symbolic links: a dangling link is no file.
    bool fileExists(const String& atPath) const;
    bool fileExists(const String& atPath, bool& isDirectory) const;
    // Writes the contents atomically, replacing any file there; false on failure.
    bool createFile(const String& atPath, const std::optional<Data>& contents) const;
    // The directory's entries, in no particular order; directories as directory URLs. Of the options
    // only skipsHiddenFiles changes a listing that never descends.
    std::vector<URL> contentsOfDirectory(const URL& at, NSDirectoryEnumerationOptions options = {}) const;
    // Copies files, directories (recursively) and symbolic links. Fails when the destination exists.
    void copyItem(const URL& at, const URL& to) const;
    // Fails when the destination exists; across file systems it copies and then removes.
    void moveItem(const URL& at, const URL& to) const;
    // Moves the new item into the original's place, durably; the original may be missing. With a backup
    // name and `withoutDeletingBackupItem`, the original is kept under that name beside it. Works across
    // file systems. Returns the resulting item's URL.
    std::optional<URL> replaceItemAt(const URL& originalItemURL, const URL& withItemAt,
                                     const std::optional<String>& backupItemName = std::nullopt,
                                     ItemReplacementOptions options = {}) const;
    // Removes a file, a symbolic link, or a directory with everything in it.
    void removeItem(const URL& at) const;
    // Of the item itself: a symbolic link is not followed.
    Attributes attributesOfItem(const String& atPath) const;

protected:
    friend Construct;
    FileManager() = default;
};

} // namespace Foundation
