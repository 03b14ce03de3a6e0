#include "Basalwork/Base/File.Location.hpp"

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/StoreKeyError.hpp"
#include "Basalwork/Base/URL.hpp"

namespace Basalwork {
namespace {

using Foundation::FileManager;
using Foundation::URL;

struct BaseDirectory {
    const FileManager& fileManager;

    URL operator()(const File::Location::Permanent&) const
    {
        return fileManager.url(FileManager::SearchPathDirectory::applicationSupportDirectory,
                               FileManager::SearchPathDomainMask::userDomainMask, std::nullopt, false);
    }
    URL operator()(const File::Location::Cache&) const
    {
        return fileManager.url(FileManager::SearchPathDirectory::cachesDirectory,
                               FileManager::SearchPathDomainMask::userDomainMask, std::nullopt, false);
    }
    URL operator()(const File::Location::Temporary&) const { return fileManager.temporaryDirectory(); }
    URL operator()(const File::Location::AppGroup& location) const
    {
        auto container = fileManager.containerURL(location.id);
        if (!container)
            throw GeneralError::failedWithMessage("Failed to access url for appGroup: " + location.id);
        return *container;
    }
    // Always a directory URL: the folder is created below, and resolving again must give an equal URL
    // whether or not the folder existed before.
    URL operator()(const File::Location::Raw& location) const { return URL::fileURLWithPath(location.path, true); }
};

struct Subdirectory {
    std::optional<Foundation::String> operator()(const File::Location::Raw&) const { return std::nullopt; }
    template <class Case>
    std::optional<Foundation::String> operator()(const Case& location) const
    {
        return location.subdirectory;
    }
};

} // namespace

URL File::Location::url(const FileManager& fileManager) const
{
    const auto subdirectory = std::visit(Subdirectory {}, m_case);
    StoreKeyError::validateSubdirectory(subdirectory);
    URL url = std::visit(BaseDirectory {fileManager}, m_case);
    appendPathComponent(url, subdirectory, true);
    fileManager.createDirectory(url, true);
    return url;
}

} // namespace Basalwork
