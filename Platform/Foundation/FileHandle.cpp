#include "Platform/Foundation/FileHandle.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Foundation {

std::shared_ptr<FileHandle> FileHandle::forReadingFrom(const URL& url)
{
    if (!url.isFileURL())
        throw CocoaError::fileError(CocoaError::fileReadUnsupportedScheme, url.absoluteString().utf8());
    std::string path = url.path().utf8();
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        throw CocoaError::fileError(errno, path, CocoaError::Access::reading);
    struct stat info {};
    int error = ::fstat(descriptor, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (error) {
        ::close(descriptor);
        throw CocoaError::fileError(error, path, CocoaError::Access::reading);
    }
    return make<FileHandle>(descriptor, std::move(path));
}

FileHandle::FileHandle(int descriptor, std::string path)
    : m_descriptor(descriptor)
    , m_path(std::move(path))
{
}

FileHandle::~FileHandle()
{
    closeFile();
}

namespace {

// Reads until `length` bytes are in or the file ends: at `offset`, or at the current position without one.
std::size_t fill(int descriptor, const std::string& path, std::uint8_t* buffer, std::size_t length,
                 std::optional<std::uint64_t> offset)
{
    auto got = offset ? FileIO::readFully(descriptor, buffer, length, *offset) : FileIO::readFully(descriptor, buffer, length);
    if (got < 0)
        throw CocoaError::fileError(errno, path, CocoaError::Access::reading);
    return static_cast<std::size_t>(got);
}

} // namespace

Data FileHandle::readData(std::int64_t ofLength)
{
    if (m_descriptor < 0 || ofLength <= 0)
        return {};
    // Grown as bytes arrive, so a generous length costs nothing near the end of a file.
    constexpr std::size_t step = 1 << 20;
    auto length = static_cast<std::uint64_t>(ofLength);
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < length) {
        std::size_t filled = bytes.size();
        bytes.resize(filled + static_cast<std::size_t>(std::min<std::uint64_t>(length - filled, step)));
        std::size_t got = fill(m_descriptor, m_path, bytes.data() + filled, bytes.size() - filled, std::nullopt);
        if (filled + got < bytes.size()) {
            bytes.resize(filled + got);
            break;
        }
    }
    return Data(std::move(bytes));
}

std::size_t FileHandle::read(std::uint8_t* buffer, std::size_t length, std::uint64_t offset)
{
    return m_descriptor < 0 ? 0 : fill(m_descriptor, m_path, buffer, length, offset);
}

void FileHandle::closeFile()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

} // namespace Foundation
