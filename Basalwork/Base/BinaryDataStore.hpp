#pragma once

#include "Basalwork/Base/File.hpp"

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

// Raw data kept as plain files, one per filename and optional extension, in the directory of a
// File.Location; the directory listing is the store. Every operation that names a file first refuses a
// filename or extension that could lead outside the directory (StoreKeyError), then creates the
// directory when it is missing. File-manager errors pass through. Synchronous, no lock: two calls on the
// same file from different threads race on the file system.
class BinaryDataStore : public Foundation::NSObject {
public:
    const std::shared_ptr<Foundation::FileManager>& fileManager() const { return m_fileManager; }
    const Foundation::URL& directoryURL() const { return m_directoryURL; }

    // The whole file; nothing when no file exists.
    virtual std::optional<Foundation::Data> data(const Foundation::String& filename,
                                                 const std::optional<Foundation::String>& fileExtension) const;
    // Atomic; replaces earlier contents.
    virtual void save(const Foundation::Data& data, const Foundation::String& filename,
                      const std::optional<Foundation::String>& fileExtension) const;
    // save(contentsOf:filename:fileExtension:): a copy of the file at the URL takes the stored file's
    // place; the source stays where it is.
    virtual void save(const Foundation::URL& contentsOf, const Foundation::String& filename,
                      const std::optional<Foundation::String>& fileExtension) const;
    // A missing file is no error.
    virtual void deleteData(const Foundation::String& filename, const std::optional<Foundation::String>& fileExtension) const;
    // Removes the whole directory when it exists; the next operation that names a file makes it again.
    virtual void deleteAllData() const;
    virtual bool dataExists(const Foundation::String& filename, const std::optional<Foundation::String>& fileExtension) const;
    // The URL the file has or would have.
    virtual Foundation::URL url(const Foundation::String& filename, const std::optional<Foundation::String>& fileExtension) const;
    // A fresh copy of the stored file in the temporary directory (plus the subdirectory), named by the
    // filename followed directly by a new UUID; nothing, and no copy, when the stored file is missing.
    // Nothing removes the copies.
    virtual std::optional<Foundation::URL> makeTempFileURL(const std::optional<Foundation::String>& subdirectory,
                                                           const Foundation::String& filename,
                                                           const std::optional<Foundation::String>& fileExtension) const;

protected:
    friend Foundation::Construct;
    // Resolves the location, which creates the directory; its errors pass through.
    BinaryDataStore(const File::Location& location, std::shared_ptr<Foundation::FileManager> fileManager);

private:
    std::shared_ptr<File> file(const Foundation::String& filename, const std::optional<Foundation::String>& fileExtension) const;

    std::shared_ptr<Foundation::FileManager> m_fileManager;
    Foundation::URL m_directoryURL;
};

} // namespace Basalwork
