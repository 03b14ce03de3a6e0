#include "Basalwork/Base/FileDataReader.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <algorithm>
#include <string_view>

namespace Basalwork {
namespace {

// Only a hint: a caller's generous chunk size should not reserve memory the file may never fill.
constexpr std::int64_t maximumReservation = 1 << 20;

} // namespace

FileDataReader::FileDataReader(Foundation::URL fileURL, std::vector<Foundation::Data> delimiters,
                               bool includeDelimetersInData, std::int64_t chunkSize,
                               std::shared_ptr<Foundation::Progress> progress)
    : m_fileURL(std::move(fileURL))
    , m_isAccessingSecurityScopedResource(m_fileURL.startAccessingSecurityScopedResource())
    , m_delimeters(std::move(delimiters))
    , m_includeDelimetersInData(includeDelimetersInData)
    , m_searches(m_delimeters.size())
    , m_chunkSize(chunkSize)
    , m_progress(progress ? std::move(progress) : Foundation::make<Foundation::Progress>(0))
{
    Foundation::precondition(chunkSize > 0, "FileDataReader needs a positive chunk size");
    // The destructor does not run for a constructor that throws, so the access is ended here.
    try {
        m_fileHandle = Foundation::FileHandle::forReadingFrom(m_fileURL);
        auto size = m_fileURL.resourceValues({Foundation::URLResourceKey::fileSizeKey}).fileSize;
        m_progress->setTotalUnitCount(size.value_or(0));
    } catch (...) {
        if (m_isAccessingSecurityScopedResource)
            m_fileURL.stopAccessingSecurityScopedResource();
        throw;
    }
    m_buffer.reserve(static_cast<std::size_t>(std::min(chunkSize, maximumReservation)));
}

FileDataReader::~FileDataReader()
{
    if (m_isAccessingSecurityScopedResource)
        m_fileURL.stopAccessingSecurityScopedResource();
    m_fileHandle->closeFile();
}

std::optional<Foundation::Data> FileDataReader::nextData()
{
    while (true) {
        // A chunk is read on every call, before searching, even when a whole record is already buffered.
        auto chunk = m_fileHandle->readData(m_chunkSize);
        appendToBuffer(chunk);
        std::size_t buffered = m_buffer.size() - m_start;
        if (m_delimeters.empty())
            return buffered > 0 ? std::optional(takeRecord(m_buffer.size(), m_buffer.size())) : std::nullopt;
        if (auto match = firstDelimiter())
            return takeRecord(m_includeDelimetersInData ? match->end : match->start, match->end);
        if (!chunk.isEmpty())
            continue;
        if (buffered == 0)
            return std::nullopt;
        return takeRecord(m_buffer.size(), m_buffer.size());
    }
}

Foundation::AnyIterator<Foundation::Data> FileDataReader::makeIterator()
{
    return Foundation::AnyIterator<Foundation::Data>([self = sharedSelf(this)] { return self->nextData(); });
}

std::optional<FileDataReader::Match> FileDataReader::firstDelimiter()
{
    std::string_view bytes(reinterpret_cast<const char*>(m_buffer.data()), m_buffer.size());
    for (std::size_t i = 0; i < m_delimeters.size(); ++i) {
        std::string_view delimiter = m_delimeters[i].view();
        Search& search = m_searches[i];
        if (delimiter.empty())
            continue;
        if (!search.found || *search.found < m_start) {
            search.found.reset();
            std::size_t from = std::max(search.scannedTo, m_start);
            auto at = bytes.find(delimiter, from);
            if (at != std::string_view::npos) {
                search.found = at;
                search.scannedTo = at;
            } else if (bytes.size() >= delimiter.size()) {
                // An occurrence may still start in the last bytes, completed by the next chunk.
                search.scannedTo = std::max(from, bytes.size() - delimiter.size() + 1);
            }
        }
        if (search.found)
            return Match {*search.found, *search.found + delimiter.size()};
    }
    return std::nullopt;
}

Foundation::Data FileDataReader::takeRecord(std::size_t recordEnd, std::size_t consumedEnd)
{
    Foundation::Data record(m_buffer.data() + m_start, recordEnd - m_start);
    m_start = consumedEnd;
    m_bytesRead += static_cast<std::int64_t>(record.count());
    updateProgress();
    return record;
}

void FileDataReader::appendToBuffer(const Foundation::Data& chunk)
{
    // Dropping handed-out bytes once they are the larger part keeps the cost per byte constant.
    if (m_start > 0 && m_start >= m_buffer.size() - m_start) {
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(m_start));
        for (auto& search : m_searches) {
            search.scannedTo = search.scannedTo > m_start ? search.scannedTo - m_start : 0;
            if (search.found)
                search.found = *search.found >= m_start ? std::optional(*search.found - m_start) : std::nullopt;
        }
        m_start = 0;
    }
    m_buffer.insert(m_buffer.end(), chunk.begin(), chunk.end());
}

void FileDataReader::updateProgress()
{
    std::int64_t total = m_progress->totalUnitCount();
    m_progress->setCompletedUnitCount(total < 0 ? m_bytesRead : std::max<std::int64_t>(std::min(total, m_bytesRead), 0));
}

} // namespace Basalwork
