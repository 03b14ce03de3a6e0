#include "Platform/CloudKit/AtomicFile.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

namespace CloudKit::AtomicFile {
namespace {

constexpr std::size_t pieceSize = 16 * 1024;

struct Observer {
    std::mutex mutex;
    std::function<void()> observer;
};

Observer& observer()
{
    static auto* instance = new Observer;
    return *instance;
}

void progress()
{
    std::function<void()> callback;
    {
        std::lock_guard lock(observer().mutex);
        callback = observer().observer;
    }
    if (callback)
        callback();
}

} // namespace

void setProgressObserver(std::function<void()> callback)
{
    std::lock_guard lock(observer().mutex);
    observer().observer = std::move(callback);
}

int write(const std::string& path, const Foundation::Data& data, Options options)
{
    auto temporary = Foundation::FileIO::temporarySiblingPath(path);
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, Foundation::FileIO::ownerOnlyFileMode);
    if (fd < 0)
        throw Foundation::CocoaError::fileError(errno, path, Foundation::CocoaError::Access::writing);
    int error = 0;
    for (std::size_t written = 0; !error && written < data.count();) {
        auto piece = std::min(pieceSize, data.count() - written);
        if (Foundation::FileIO::writeAll(fd, data.bytes() + written, piece) < 0)
            error = errno;
        else {
            written += piece;
            progress();
        }
    }
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (!error)
        progress();
    if (!error && options.keepLocked && ::flock(fd, LOCK_SH) != 0)
        error = errno;
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw Foundation::CocoaError::fileError(error, path, Foundation::CocoaError::Access::writing);
    }
    progress();
    Foundation::FileIO::sync(Foundation::FileIO::parentDirectory(path));
    if (options.keepLocked)
        return fd;
    ::close(fd);
    return -1;
}

} // namespace CloudKit::AtomicFile
