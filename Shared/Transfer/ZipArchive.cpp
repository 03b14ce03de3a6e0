#include "Shared/Transfer/ZipArchive.hpp"

#include "Shared/Transfer/ImporterError.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

namespace Shared {

namespace {

ImporterError exceeded()
{
    return ImporterError::invalidFile("the archive holds more data than it can reasonably hold (a damaged or hostile archive)");
}

} // namespace

ZipArchive::ZipArchive(const Foundation::URL& url, std::uint64_t extractionBudget)
    : m_budget(extractionBudget)
{
    int error = 0;
    m_archive = zip_open(url.path().c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!m_archive)
        throw ImporterError::invalidFile("it is not a zip archive");
    auto count = zip_get_num_entries(m_archive, 0);
    if (count < 0 || count > maximumEntryCount) {
        zip_close(m_archive);
        throw exceeded();
    }
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(m_archive, static_cast<zip_uint64_t>(i), 0);
        m_names.emplace_back(name ? name : "");
    }
}

ZipArchive::~ZipArchive()
{
    if (m_archive)
        zip_discard(m_archive);
}

bool ZipArchive::contains(const std::string& name) const
{
    return std::find(m_names.begin(), m_names.end(), name) != m_names.end();
}

template <class Sink>
void ZipArchive::readEntry(const std::string& name, std::uint64_t limit, Sink sink)
{
    zip_file_t* file = zip_fopen(m_archive, name.c_str(), 0);
    if (!file)
        throw ImporterError::invalidFile("the archive's entry \"" + name + "\" cannot be read");
    std::array<char, 64 * 1024> buffer {};
    std::uint64_t total = 0;
    try {
        while (true) {
            auto got = zip_fread(file, buffer.data(), buffer.size());
            if (got < 0)
                throw ImporterError::invalidFile("the archive's entry \"" + name + "\" is damaged");
            if (got == 0)
                break;
            total += static_cast<std::uint64_t>(got);
            // Counted as it comes out: a bomb stops at the limit, whatever the directory claimed.
            if (total > limit || total > m_budget)
                throw exceeded();
            sink(buffer.data(), static_cast<std::size_t>(got));
        }
    } catch (...) {
        zip_fclose(file);
        throw;
    }
    zip_fclose(file);
    m_budget -= total;
}

std::string ZipArchive::read(const std::string& name, std::uint64_t limit)
{
    std::string contents;
    readEntry(name, limit, [&](const char* bytes, std::size_t count) { contents.append(bytes, count); });
    return contents;
}

void ZipArchive::extract(const std::string& name, const Foundation::URL& destination, std::uint64_t limit)
{
    auto path = destination.path().utf8();
    int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (descriptor < 0)
        throw Foundation::CocoaError::fileError(errno, path, Foundation::CocoaError::Access::writing);
    try {
        readEntry(name, limit, [&](const char* bytes, std::size_t count) {
            if (Foundation::FileIO::writeAll(descriptor, bytes, count) < 0)
                throw Foundation::CocoaError::fileError(errno, path, Foundation::CocoaError::Access::writing);
        });
    } catch (...) {
        ::close(descriptor);
        ::unlink(path.c_str());
        throw;
    }
    ::close(descriptor);
}

} // namespace Shared
