#include "Platform/Foundation/URL.hpp"

#include "Platform/Foundation/CocoaError.hpp"

#include <cerrno>
#include <sys/stat.h>

namespace Foundation {

// Symbolic links are followed: the values describe what reading the URL would read.
URLResourceValues URL::resourceValues(const std::set<URLResourceKey>& forKeys) const
{
    if (!isFileURL())
        throw CocoaError::fileError(CocoaError::fileReadUnsupportedScheme, absoluteString().utf8());
    std::string filePath = path().utf8();
    struct stat info {};
    if (::stat(filePath.c_str(), &info) != 0)
        throw CocoaError::fileError(errno, filePath, CocoaError::Access::reading);
    URLResourceValues values;
    if (forKeys.contains(URLResourceKey::fileSizeKey) && S_ISREG(info.st_mode))
        values.fileSize = static_cast<std::int64_t>(info.st_size);
    return values;
}

} // namespace Foundation
