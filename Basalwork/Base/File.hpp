#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

// One file in a directory, read, written, replaced and removed through a file manager. Cheap: callers
// make a fresh one for each operation. Made with `Foundation::make<File>(...)`, which throws when the
// directory cannot be created.
class File : public Foundation::NSObject {
public:
    class Location;

    const Foundation::String& filename() const { return m_filename; }
    const Foundation::URL& url() const { return m_url; }
    const std::shared_ptr<Foundation::FileManager>& fileManager() const { return m_fileManager; }

    // Nothing when no file exists at the URL's path.
    std::optional<Foundation::Data> readFromDisk() const;
    // Atomic: a reader sees the old contents or the new, never a part.
    void writeToDisk(const Foundation::Data& data) const;
    // Puts a copy of the source in this file's place; the source is left as it is.
    void replace(const Foundation::URL& withContentsOf) const;
    // A missing file is no error.
    void removeFromDisk() const;
    bool fileExists() const;

protected:
    friend Foundation::Construct;
    // Creates the directory, with intermediates, first.
    File(Foundation::String filename, const std::optional<Foundation::String>& fileExtension,
         const Foundation::URL& directoryURL, std::shared_ptr<Foundation::FileManager> fileManager);

private:
    Foundation::String m_filename;
    Foundation::URL m_url;
    std::shared_ptr<Foundation::FileManager> m_fileManager;
};

} // namespace Basalwork

#include "Basalwork/Base/File.Location.hpp"
