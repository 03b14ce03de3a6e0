#include "Shared/Transfer/ImportFile.hpp"

#include "Shared/Transfer/ImporterError.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Shared {

namespace {

std::string openingFailure(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "it does not exist (any more)";
    case EACCES:
    case EPERM:
        return "you are not allowed to read it";
    case ELOOP:
        return "it is a link that leads nowhere";
    case EMFILE:
    case ENFILE:
    case ENOMEM:
        return "the system has no resources left to open it";
    default:
        return "it cannot be opened (error " + std::to_string(error) + ")";
    }
}

std::string kindFailure(mode_t mode)
{
    if (S_ISDIR(mode))
        return "it is a folder, not a file";
    if (S_ISFIFO(mode) || S_ISSOCK(mode))
        return "it is a pipe, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a file";
    return "it is not a regular file";
}

} // namespace

ImportFile::Descriptor::~Descriptor()
{
    ::close(m_descriptor);
}

ImportFile::Descriptor ImportFile::open(const Foundation::URL& fileURL, std::uint64_t* size)
{
    const auto path = fileURL.path().utf8();
    // Opening a device may do something of its own: what is no regular file is not opened at all.
    struct stat named {};
    if (::stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode))
        throw ImporterError::invalidFile(kindFailure(named.st_mode));
    // Without O_NONBLOCK, opening a FIFO put in its place meanwhile would wait for a writer that may
    // never come.
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0) {
        if (errno == ENXIO || errno == EISDIR) {
            struct stat status {};
            if (::stat(path.c_str(), &status) == 0)
                throw ImporterError::invalidFile(kindFailure(status.st_mode));
        }
        throw ImporterError::invalidFile(openingFailure(errno));
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        throw ImporterError::invalidFile(kindFailure(status.st_mode));
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    if (size)
        *size = static_cast<std::uint64_t>(status.st_size);
    return Descriptor(descriptor);
}

void ImportFile::check(const Foundation::URL& fileURL)
{
    open(fileURL);
}

} // namespace Shared
