#include "Platform/CloudKit/FolderLock.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace CloudKit {

FolderLock::FolderLock(const std::string& folder)
{
    for (const char* part : {"/Batches", "/Assets", "/LongLived"})
        Foundation::FileIO::makeDirectories(folder + part);
    auto path = folder + "/.lock";
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, Foundation::FileIO::ownerOnlyFileMode);
    if (m_fd < 0)
        throw Foundation::CocoaError::fileError(errno, path, Foundation::CocoaError::Access::writing);
    if (Foundation::FileIO::retryingInterruptions([&] { return ::flock(m_fd, LOCK_EX); }) != 0) {
        int error = errno;
        ::close(m_fd);
        throw Foundation::CocoaError::fileError(error, path, Foundation::CocoaError::Access::writing);
    }
}

FolderLock::~FolderLock()
{
    ::close(m_fd);
}

void FolderLock::removeTemporaryFiles(const std::string& directory)
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        auto name = it->path().filename().string();
        if (name.starts_with(".") && name.ends_with(".tmp"))
            ::unlink(it->path().c_str());
    }
}

} // namespace CloudKit
