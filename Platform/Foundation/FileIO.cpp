#include "Platform/Foundation/FileIO.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Foundation::FileIO {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    // The close error matters after writes: it can report a failed write-back.
    int close()
    {
        int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

int writeAll(int fd, const std::uint8_t* bytes, std::size_t count)
{
    while (count > 0) {
        auto written = ::write(fd, bytes, count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return 0;
}

// errno of the first failure, or 0.
int writeAndSync(Descriptor& file, const Data& data)
{
    int error = writeAll(file.get(), data.bytes(), data.count());
    if (!error && ::fsync(file.get()) != 0)
        error = errno;
    int closeError = file.close();
    return error ? error : closeError;
}

void writeAtomically(const std::string& path, const Data& data)
{
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = temporarySiblingPath(path);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 3))
            throw CocoaError::fileError(errno, path, CocoaError::Access::writing);
    }
    Descriptor file(fd);
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(file.get(), existing.st_mode & 07777);

    int error = writeAndSync(file, data);
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error) {
        ::unlink(temporary.c_str());
        throw CocoaError::fileError(error, path, CocoaError::Access::writing);
    }
    sync(parentDirectory(path));
}

} // namespace

Data readFile(const std::string& path)
{
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.isValid())
        throw CocoaError::fileError(errno, path, CocoaError::Access::reading);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        throw CocoaError::fileError(errno, path, CocoaError::Access::reading);
    if (S_ISDIR(info.st_mode))
        throw CocoaError::fileError(EISDIR, path, CocoaError::Access::reading);

    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    std::uint8_t buffer[65536];
    while (true) {
        auto got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw CocoaError::fileError(errno, path, CocoaError::Access::reading);
        }
        if (got == 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return Data(std::move(bytes));
}

void writeFile(const std::string& path, const Data& data, bool atomic)
{
    if (atomic)
        return writeAtomically(path, data);
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file.isValid())
        throw CocoaError::fileError(errno, path, CocoaError::Access::writing);
    int error = writeAll(file.get(), data.bytes(), data.count());
    int closeError = file.close();
    if (error || closeError)
        throw CocoaError::fileError(error ? error : closeError, path, CocoaError::Access::writing);
}

void sync(const std::string& path)
{
    Descriptor item(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (item.isValid())
        ::fsync(item.get());
}

std::string parentDirectory(const std::string& path)
{
    auto end = path.find_last_not_of('/');
    if (end == std::string::npos)
        return "/";
    auto slash = path.rfind('/', end);
    if (slash == std::string::npos)
        return ".";
    auto parentEnd = path.find_last_not_of('/', slash);
    return parentEnd == std::string::npos ? "/" : path.substr(0, parentEnd + 1);
}

std::string temporarySiblingPath(const std::string& path)
{
    auto end = path.find_last_not_of('/');
    auto name = end == std::string::npos ? std::string() : path.substr(0, end + 1);
    auto slash = name.rfind('/');
    auto directory = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
    name = slash == std::string::npos ? name : name.substr(slash + 1);
    return directory + "." + name + "." + UUID().uuidString().utf8() + ".tmp";
}

} // namespace Foundation::FileIO
