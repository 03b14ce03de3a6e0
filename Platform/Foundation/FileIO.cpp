#include "Platform/Foundation/FileIO.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

// Nothing writing a temporary file is silent this long; one untouched for longer was abandoned.
constexpr ::time_t staleAge = 24 * 60 * 60;
constexpr std::size_t temporaryNameLength = 1 + 16 + 1 + 8 + 1 + 8 + 1 + 16 + 4;

std::uint64_t fnv1a(std::string_view text)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::string hex(std::uint64_t value, int digits)
{
    char text[17];
    std::snprintf(text, sizeof text, "%0*llx", digits, static_cast<unsigned long long>(value));
    return std::string(text + std::strlen(text) - static_cast<std::size_t>(digits));
}

std::optional<std::uint64_t> parseHex(std::string_view text)
{
    std::uint64_t value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Names this machine in temporary names, so that a process number is only judged where it means something.
const std::string& hostTag()
{
    static const std::string tag = [] {
        char name[256] = {};
        ::gethostname(name, sizeof name - 1);
        return hex(fnv1a(name), 8);
    }();
    return tag;
}

std::uint64_t randomBits()
{
    static thread_local std::mt19937_64 generator {std::random_device {}()};
    return generator();
}

// The folder part of a path (with its trailing "/", or empty) and the name after it.
std::pair<std::string, std::string> splitPath(const std::string& path)
{
    auto end = path.find_last_not_of('/');
    auto name = end == std::string::npos ? std::string() : path.substr(0, end + 1);
    auto slash = name.rfind('/');
    if (slash == std::string::npos)
        return {std::string(), name};
    return {name.substr(0, slash + 1), name.substr(slash + 1)};
}

template <class Read>
ssize_t fill(std::uint8_t* into, std::size_t count, Read read)
{
    std::size_t filled = 0;
    while (filled < count) {
        auto got = retryingInterruptions([&] { return read(into + filled, count - filled, filled); });
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(filled);
}

} // namespace

ssize_t readSome(int descriptor, void* into, std::size_t count)
{
    return retryingInterruptions([&] { return ::read(descriptor, into, count); });
}

ssize_t readFully(int descriptor, void* into, std::size_t count)
{
    return fill(static_cast<std::uint8_t*>(into), count,
                [&](std::uint8_t* at, std::size_t length, std::size_t) { return ::read(descriptor, at, length); });
}

ssize_t readFully(int descriptor, void* into, std::size_t count, std::uint64_t offset)
{
    return fill(static_cast<std::uint8_t*>(into), count, [&](std::uint8_t* at, std::size_t length, std::size_t done) {
        return ::pread(descriptor, at, length, static_cast<off_t>(offset + done));
    });
}

ssize_t writeAll(int descriptor, const void* bytes, std::size_t count)
{
    const auto* from = static_cast<const std::uint8_t*>(bytes);
    std::size_t written = 0;
    while (written < count) {
        auto put = retryingInterruptions([&] { return ::write(descriptor, from + written, count - written); });
        if (put < 0)
            return -1;
        written += static_cast<std::size_t>(put);
    }
    return static_cast<ssize_t>(count);
}

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
        auto got = readSome(file.get(), buffer, sizeof buffer);
        if (got < 0)
            throw CocoaError::fileError(errno, path, CocoaError::Access::reading);
        if (got == 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return Data(std::move(bytes));
}

AtomicWriter::AtomicWriter(std::string path)
    : m_path(std::move(path))
{
    removeStaleTemporarySiblings(m_path);
    for (int attempt = 0; m_descriptor < 0; ++attempt) {
        m_temporary = temporarySiblingPath(m_path);
        m_descriptor = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, ownerOnlyFileMode);
        if (m_descriptor < 0 && (errno != EEXIST || attempt == 3))
            throw CocoaError::fileError(errno, m_path, CocoaError::Access::writing);
    }
    struct stat existing {};
    if (::stat(m_path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(m_descriptor, existing.st_mode & 07700);
}

AtomicWriter::~AtomicWriter()
{
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
        ::unlink(m_temporary.c_str());
    }
}

void AtomicWriter::write(const void* bytes, std::size_t count)
{
    if (writeAll(m_descriptor, bytes, count) < 0)
        fail(errno);
}

void AtomicWriter::commit()
{
    if (::fsync(m_descriptor) != 0)
        fail(errno);
    int error = ::close(std::exchange(m_descriptor, -1)) == 0 ? 0 : errno;
    if (!error && ::rename(m_temporary.c_str(), m_path.c_str()) != 0)
        error = errno;
    if (error) {
        ::unlink(m_temporary.c_str());
        throw CocoaError::fileError(error, m_path, CocoaError::Access::writing);
    }
    sync(parentDirectory(m_path));
}

void AtomicWriter::fail(int error)
{
    ::close(std::exchange(m_descriptor, -1));
    ::unlink(m_temporary.c_str());
    throw CocoaError::fileError(error, m_path, CocoaError::Access::writing);
}

void writeFile(const std::string& path, const Data& data, bool atomic)
{
    if (atomic) {
        AtomicWriter file(path);
        file.write(data.bytes(), data.count());
        file.commit();
        return;
    }
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, ownerOnlyFileMode));
    if (!file.isValid())
        throw CocoaError::fileError(errno, path, CocoaError::Access::writing);
    int error = writeAll(file.get(), data.bytes(), data.count()) < 0 ? errno : 0;
    int closeError = file.close();
    if (error || closeError)
        throw CocoaError::fileError(error ? error : closeError, path, CocoaError::Access::writing);
}

namespace {

bool isExistingDirectory(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Existing directories are looked at before mkdir, which may answer EACCES or EROFS for them rather
// than EEXIST.
int makeDirectory(const std::string& path)
{
    if (isExistingDirectory(path) || ::mkdir(path.c_str(), ownerOnlyDirectoryMode) == 0)
        return 0;
    int error = errno;
    return error == EEXIST && isExistingDirectory(path) ? 0 : error;
}

} // namespace

int makeDirectories(const std::string& path)
{
    if (path.empty())
        return ENOENT;
    if (isExistingDirectory(path))
        return 0;
    for (auto slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        if (int error = makeDirectory(path.substr(0, slash)))
            return error;
    return makeDirectory(path);
}

void restrictToOwner(const std::string& directory)
{
    struct stat info {};
    if (::stat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) != 0)
        ::chmod(directory.c_str(), info.st_mode & 07700);
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
    const auto [directory, name] = splitPath(path);
    return directory + "." + hex(fnv1a(name), 16) + "." + hostTag() + "." + hex(static_cast<std::uint64_t>(::getpid()), 8)
        + "." + hex(randomBits(), 16) + ".tmp";
}

void removeStaleTemporarySiblings(const std::string& path)
{
    const auto [directory, name] = splitPath(path);
    const std::string prefix = "." + hex(fnv1a(name), 16) + ".";
    const std::string folder = directory.empty() ? "." : directory;
    std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), ::closedir);
    if (!listing)
        return;
    const auto host = hostTag();
    const auto now = ::time(nullptr);
    while (const auto* entry = ::readdir(listing.get())) {
        const std::string_view entryName(entry->d_name);
        // ".<16>.<8>.<8>.<16>.tmp"
        if (entryName.size() != temporaryNameLength || !entryName.starts_with(prefix) || !entryName.ends_with(".tmp"))
            continue;
        const auto entryPath = directory + std::string(entryName);
        const auto entryHost = entryName.substr(18, 8);
        const auto writer = parseHex(entryName.substr(27, 8));
        bool stale = entryHost == host && writer && ::kill(static_cast<pid_t>(*writer), 0) != 0 && errno == ESRCH;
        struct stat info {};
        if (!stale && ::lstat(entryPath.c_str(), &info) == 0)
            stale = S_ISREG(info.st_mode) && now - info.st_mtime > staleAge;
        if (stale)
            ::unlink(entryPath.c_str());
    }
}

} // namespace Foundation::FileIO
