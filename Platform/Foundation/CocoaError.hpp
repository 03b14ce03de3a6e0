#pragma once

#include "Platform/Foundation/NSError.hpp"

#include <cstdint>
#include <string>

namespace Foundation {

// The file-system codes of NSCocoaErrorDomain, and the one place that turns a failed system call into
// such an error.
struct CocoaError {
    enum Code : std::int64_t {
        fileNoSuchFile = 4,
        fileReadUnknown = 256,
        fileReadNoPermission = 257,
        fileReadInvalidFileName = 258,
        fileReadNoSuchFile = 260,
        fileReadUnsupportedScheme = 262,
        fileWriteUnknown = 512,
        fileWriteNoPermission = 513,
        fileWriteInvalidFileName = 514,
        fileWriteFileExists = 516,
        fileWriteUnsupportedScheme = 518,
        fileWriteOutOfSpace = 640,
        fileWriteVolumeReadOnly = 642,
    };
    // Reading maps a missing file to fileReadNoSuchFile; writing, moving and removing map it to
    // fileNoSuchFile.
    enum class Access {
        reading,
        writing,
    };

    // The error for `posixError` (an errno value) on `path`: the path under NSFilePathErrorKey, a
    // description naming the file, and the system's error as the underlying NSPOSIXErrorDomain error.
    static NSError fileError(int posixError, const std::string& path, Access access);
    static NSError fileError(Code code, const std::string& path);
};

} // namespace Foundation
