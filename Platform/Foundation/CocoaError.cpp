#include "Platform/Foundation/CocoaError.hpp"

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>

namespace Foundation {
namespace {

CocoaError::Code codeFor(int posixError, CocoaError::Access access)
{
    bool reading = access == CocoaError::Access::reading;
    switch (posixError) {
    case ENOENT:
    case ENOTDIR:
        return reading ? CocoaError::fileReadNoSuchFile : CocoaError::fileNoSuchFile;
    case EACCES:
    case EPERM:
        return reading ? CocoaError::fileReadNoPermission : CocoaError::fileWriteNoPermission;
    case ENAMETOOLONG:
        return reading ? CocoaError::fileReadInvalidFileName : CocoaError::fileWriteInvalidFileName;
    case EEXIST:
    case ENOTEMPTY:
        return reading ? CocoaError::fileReadUnknown : CocoaError::fileWriteFileExists;
    case ENOSPC:
    case EDQUOT:
        return reading ? CocoaError::fileReadUnknown : CocoaError::fileWriteOutOfSpace;
    case EROFS:
        return reading ? CocoaError::fileReadUnknown : CocoaError::fileWriteVolumeReadOnly;
    default:
        return reading ? CocoaError::fileReadUnknown : CocoaError::fileWriteUnknown;
    }
}

// The last component, as the platform names a file in its messages.
std::string displayName(const std::string& path)
{
    auto end = path.find_last_not_of('/');
    if (end == std::string::npos)
        return path;
    auto slash = path.rfind('/', end);
    auto begin = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(begin, end + 1 - begin);
}

std::string describe(CocoaError::Code code, const std::string& path)
{
    std::string name = "\u201C" + displayName(path) + "\u201D";
    switch (code) {
    case CocoaError::fileNoSuchFile:
        return "The file " + name + " doesn\u2019t exist.";
    case CocoaError::fileReadNoSuchFile:
        return "The file " + name + " couldn\u2019t be opened because there is no such file.";
    case CocoaError::fileReadNoPermission:
        return "The file " + name + " couldn\u2019t be opened because you don\u2019t have permission to view it.";
    case CocoaError::fileReadInvalidFileName:
    case CocoaError::fileWriteInvalidFileName:
        return "The file name " + name + " is invalid.";
    case CocoaError::fileReadUnsupportedScheme:
        return "The file " + name + " couldn\u2019t be opened because the URL type isn\u2019t supported.";
    case CocoaError::fileWriteUnsupportedScheme:
        return "The file " + name + " couldn\u2019t be saved because the URL type isn\u2019t supported.";
    case CocoaError::fileWriteNoPermission:
        return "You don\u2019t have permission to save the file " + name + ".";
    case CocoaError::fileWriteFileExists:
        return "The file " + name + " couldn\u2019t be saved because a file with the same name already exists.";
    case CocoaError::fileWriteOutOfSpace:
        return "The file " + name + " couldn\u2019t be saved because there isn\u2019t enough space.";
    case CocoaError::fileWriteVolumeReadOnly:
        return "The file " + name + " couldn\u2019t be saved because the volume is read only.";
    case CocoaError::fileWriteUnknown:
        return "The file " + name + " couldn\u2019t be saved.";
    case CocoaError::fileReadUnknown:
        break;
    }
    return "The file " + name + " couldn\u2019t be opened.";
}

NSError makeError(CocoaError::Code code, const std::string& path, ErrorPtr underlying)
{
    return NSError(NSCocoaErrorDomain, code, {{NSFilePathErrorKey, path}, {NSLocalizedDescriptionKey, describe(code, path)}},
                   std::move(underlying));
}

} // namespace

NSError CocoaError::fileError(int posixError, const std::string& path, Access access)
{
    char buffer[256];
    std::string text = strerror_r(posixError, buffer, sizeof buffer); // the GNU form: returns the text
    auto underlying = std::make_shared<NSError>(NSPOSIXErrorDomain, posixError,
                                                std::map<std::string, std::string> {{NSLocalizedDescriptionKey, text}});
    return makeError(codeFor(posixError, access), path, std::move(underlying));
}

NSError CocoaError::fileError(Code code, const std::string& path)
{
    return makeError(code, path, nullptr);
}

} // namespace Foundation
