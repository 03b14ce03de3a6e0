#include "Basalwork/Base/FileManager.hpp"

#include "Basalwork/Base/GeneralError.hpp"

namespace Basalwork {

bool fileExists(const Foundation::FileManager& fileManager, const Foundation::URL& at)
{
    return fileManager.fileExists(at.path());
}

bool fileDoesNotExist(const Foundation::FileManager& fileManager, const Foundation::URL& at)
{
    return !fileExists(fileManager, at);
}

bool fileDoesNotExist(const Foundation::FileManager& fileManager, const Foundation::String& atPath)
{
    return !fileManager.fileExists(atPath);
}

void ensureFileExists(const Foundation::FileManager& fileManager, const Foundation::URL& at)
{
    if (fileExists(fileManager, at))
        return;
    if (!fileManager.createFile(at.path(), std::nullopt))
        throw GeneralError::failedWithMessage("Failed to ensure file exists at url: " + at.path());
}

} // namespace Basalwork
