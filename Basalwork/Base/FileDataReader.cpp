#include "Basalwork/Base/FileDataReader.hpp"
#include "Basalwork/Base/FileDataReader.ByteSet.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

namespace Basalwork {
namespace {

std::uint64_t saturatingSum(std::uint64_t lhs, std::uint64_t rhs)
{
    return lhs > std::numeric_limits<std::uint64_t>::max() - rhs ? std::numeric_limits<std::uint64_t>::max() : lhs + rhs;
}

} // namespace

FileDataReader::FileDataReader(Foundation::URL fileURL, std::vector<Foundation::Data> delimiters,
                               bool includeDelimetersInData, std::int64_t chunkSize,
                               std::shared_ptr<Foundation::Progress> progress, std::size_t blockSize)
    : m_fileURL(std::move(fileURL))
    , m_isAccessingSecurityScopedResource(m_fileURL.startAccessingSecurityScopedResource())
    , m_delimeters(std::move(delimiters))
    , m_includeDelimetersInData(includeDelimetersInData)
    , m_chunkSize(chunkSize)
    , m_blockSize(blockSize)
    , m_progress(progress ? std::move(progress) : Foundation::make<Foundation::Progress>(0))
    , m_searches(m_delimeters.size())
{
    Foundation::precondition(chunkSize > 0, "FileDataReader needs a positive chunk size");
    Foundation::precondition(blockSize > 0, "FileDataReader needs a positive block size");
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
    auto starts = std::make_shared<ByteSet>();
    for (const auto& delimiter : m_delimeters) {
        if (!delimiter.isEmpty())
            starts->insert(delimiter[0]);
    }
    m_delimiterStarts = std::move(starts);
}

FileDataReader::~FileDataReader()
{
    if (m_isAccessingSecurityScopedResource)
        m_fileURL.stopAccessingSecurityScopedResource();
    m_fileHandle->closeFile();
}

std::optional<Foundation::Data> FileDataReader::nextData()
{
    auto record = nextRecord();
    if (!record)
        return std::nullopt;
    return Foundation::Data(record->data(), record->size());
}

std::optional<std::string_view> FileDataReader::nextRecord()
{
    auto record = cutRecord();
    if (!record)
        return std::nullopt;
    while (m_bufferStart + m_buffered < record->end && loadBlock()) { }
    const std::uint64_t start = m_recordStart;
    const std::uint64_t end = std::min(m_includeDelimetersInData ? record->end : record->end - record->delimiterLength,
                                       m_bufferStart + m_buffered);
    m_lastRecordStart = start;
    m_recordStart = record->end;
    m_bytesRead += static_cast<std::int64_t>(end - start);
    updateProgress();
    return buffered(start, end);
}

std::string_view FileDataReader::heldAfterRecord() const
{
    const std::uint64_t bufferEnd = m_bufferStart + m_buffered;
    const std::uint64_t from = std::clamp(m_recordStart, m_bufferStart, bufferEnd);
    return buffered(from, bufferEnd);
}

Foundation::AnyIterator<Foundation::Data> FileDataReader::makeIterator()
{
    return Foundation::AnyIterator<Foundation::Data>([self = sharedSelf(this)] { return self->nextData(); });
}

// Reading a chunk per call, the record ends at the first delimiter of the list found in what has been read
// once anything is found at all; what has been read then ends at the first chunk boundary at or past the
// earliest delimiter.
std::optional<FileDataReader::Record> FileDataReader::cutRecord()
{
    const auto chunk = static_cast<std::uint64_t>(m_chunkSize);
    std::uint64_t readEnd = saturatingSum(m_readEnd, chunk);
    if (m_delimeters.empty()) {
        while (m_bufferStart + m_buffered < readEnd && loadBlock()) { }
        const std::uint64_t end = std::min(readEnd, m_bufferStart + m_buffered);
        m_readEnd = end;
        if (end == m_recordStart)
            return std::nullopt;
        return Record {end, 0};
    }
    // The first delimiter of the list wins wherever it stands in what this call reads, so finding it there
    // settles the record without looking at the others. Most often it is one byte, found in what is held.
    if (m_delimeters[0].count() == 1) {
        Search& search = m_searches[0];
        const std::uint64_t from = std::max(search.scannedTo, m_recordStart);
        const std::uint64_t to = std::min(readEnd, m_bufferStart + m_buffered);
        if (!(search.found && *search.found >= m_recordStart) && from < to) {
            const std::uint8_t* start = m_buffer.get() + (from - m_bufferStart);
            if (const void* at = std::memchr(start, m_delimeters[0][0], to - from)) {
                const std::uint64_t found = from + static_cast<std::uint64_t>(static_cast<const std::uint8_t*>(at) - start);
                search.found = search.scannedTo = found;
                m_readEnd = readEnd;
                return Record {found + 1, 1};
            }
        }
    }
    if (occursBefore(0, readEnd)) {
        m_readEnd = readEnd;
        return Record {*m_searches[0].found + m_delimeters[0].count(), m_delimeters[0].count()};
    }
    auto earliest = earliestDelimiterEnd();
    if (!earliest) {
        // No delimiter before the end of the file, which the search has read up to.
        const std::uint64_t end = m_bufferStart + m_buffered;
        m_readEnd = std::max(readEnd, end);
        if (end == m_recordStart)
            return std::nullopt;
        return Record {end, 0};
    }
    if (*earliest > readEnd)
        readEnd = saturatingSum(readEnd, ((*earliest - readEnd - 1) / chunk + 1) * chunk);
    m_readEnd = readEnd;
    for (std::size_t d = 0; d < m_delimeters.size(); ++d) {
        if (occursBefore(d, readEnd))
            return Record {*m_searches[d].found + m_delimeters[d].count(), m_delimeters[d].count()};
    }
    Foundation::fatalError("FileDataReader lost the delimiter it found");
}

// The end of the delimiter occurrence, of any delimiter, that ends first after the record start; nothing
// when none does before the end of the file. What it scans is held, as it all belongs to the record.
std::optional<std::uint64_t> FileDataReader::earliestDelimiterEnd()
{
    std::optional<std::uint64_t> best;
    std::uint64_t at = m_recordStart;
    while (true) {
        const std::uint8_t* bytes = m_buffer.get();
        std::size_t from = m_delimiterStarts->find(bytes, at - m_bufferStart, m_buffered);
        at = m_bufferStart + from;
        // Every occurrence starting here or later ends later.
        if (best && at >= *best)
            return best;
        if (from == m_buffered) {
            if (!loadBlock())
                return best;
            continue;
        }
        bool needsMore = false;
        for (const auto& delimiter : m_delimeters) {
            if (delimiter.isEmpty() || delimiter[0] != bytes[from])
                continue;
            if (from + delimiter.count() > m_buffered) {
                needsMore = true;
                continue;
            }
            if (std::memcmp(bytes + from, delimiter.bytes(), delimiter.count()) == 0) {
                std::uint64_t end = at + delimiter.count();
                best = best ? std::min(*best, end) : end;
            }
        }
        if (needsMore && loadBlock())
            continue; // look at the same place again with more bytes
        ++at;
    }
}

// Whether the delimiter occurs after the record start and ends by `limit`, remembering where it was found or
// how far it was not. Beyond a block past the record start the file is searched without being held.
bool FileDataReader::occursBefore(std::size_t d, std::uint64_t limit)
{
    std::string_view delimiter = m_delimeters[d].view();
    Search& search = m_searches[d];
    if (delimiter.empty())
        return false;
    if (search.found && *search.found >= m_recordStart)
        return *search.found + delimiter.size() <= limit;
    search.found.reset();
    std::uint64_t from = std::max(search.scannedTo, m_recordStart);
    while (saturatingSum(from, delimiter.size()) <= limit) {
        const std::uint64_t bufferEnd = m_bufferStart + m_buffered;
        if (from + delimiter.size() <= bufferEnd) {
            const std::uint64_t to = std::min(limit, bufferEnd);
            auto held = buffered(from, to);
            auto at = delimiter.size() == 1 ? held.find(delimiter[0]) : held.find(delimiter);
            if (at != std::string_view::npos) {
                search.found = search.scannedTo = from + at;
                return true;
            }
            from = to - delimiter.size() + 1;
            continue;
        }
        if (m_fileEnd && from + delimiter.size() > *m_fileEnd)
            break;
        if (bufferEnd - m_recordStart < m_blockSize) {
            if (!loadBlock())
                break;
            continue;
        }
        // Each read takes in a whole delimiter at least, however small the blocks.
        const std::size_t scratchSize = std::max(m_blockSize, delimiter.size());
        if (!m_scratch || m_scratchSize < scratchSize) {
            m_scratch = std::make_unique_for_overwrite<std::uint8_t[]>(scratchSize);
            m_scratchSize = scratchSize;
        }
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(scratchSize, limit - from));
        const std::size_t got = m_fileHandle->read(m_scratch.get(), wanted, from);
        if (got < wanted)
            m_fileEnd = from + got;
        auto at = std::string_view(reinterpret_cast<const char*>(m_scratch.get()), got).find(delimiter);
        if (at != std::string_view::npos) {
            search.found = search.scannedTo = from + at;
            return true;
        }
        if (got < delimiter.size() || got < wanted)
            break;
        from += got - delimiter.size() + 1;
    }
    search.scannedTo = from;
    return false;
}

bool FileDataReader::skipRecordsEndingInFirstDelimiter(std::uint64_t end, std::uint64_t count)
{
    // Each record moves the reading on by a chunk, so when the last delimiter lies within the first chunk's
    // reading, every one of them is found within its own.
    const auto chunk = static_cast<std::uint64_t>(m_chunkSize);
    if (m_delimeters.empty() || m_delimeters[0].count() != 1 || end <= m_recordStart || count == 0
        || end > saturatingSum(m_readEnd, chunk) || end > m_bufferStart + m_buffered)
        return false;
    const std::uint64_t advance = count > std::numeric_limits<std::uint64_t>::max() / chunk
        ? std::numeric_limits<std::uint64_t>::max()
        : count * chunk;
    m_readEnd = saturatingSum(m_readEnd, advance);
    Search& search = m_searches[0];
    search.found = search.scannedTo = end - 1;
    m_bytesRead += static_cast<std::int64_t>(end - m_recordStart);
    m_recordStart = end;
    updateProgress();
    return true;
}

std::uint64_t FileDataReader::firstDelimiterEndsRecordsBy() const
{
    if (m_delimeters.empty() || m_delimeters[0].count() != 1)
        return 0;
    return saturatingSum(m_readEnd, static_cast<std::uint64_t>(m_chunkSize));
}

// One more block at the end of what is held, after dropping what lies before the record start and the
// bytes kept.
bool FileDataReader::loadBlock()
{
    const std::uint64_t bufferEnd = m_bufferStart + m_buffered;
    const std::uint64_t keptFrom = std::min(m_recordStart, m_keptFrom);
    if (m_fileEnd && bufferEnd >= *m_fileEnd)
        return false;
    if (m_buffered + m_blockSize > m_capacity && keptFrom > m_bufferStart) {
        const auto dropped = static_cast<std::size_t>(keptFrom - m_bufferStart);
        std::memmove(m_buffer.get(), m_buffer.get() + dropped, m_buffered - dropped);
        m_buffered -= dropped;
        m_bufferStart = keptFrom;
    }
    if (m_buffered + m_blockSize > m_capacity) {
        const std::size_t capacity = std::max(m_capacity * 2, m_buffered + m_blockSize);
        auto grown = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
        if (m_buffered > 0)
            std::memcpy(grown.get(), m_buffer.get(), m_buffered);
        m_buffer = std::move(grown);
        m_capacity = capacity;
    }
    const std::size_t got = m_fileHandle->read(m_buffer.get() + m_buffered, m_blockSize, bufferEnd);
    m_buffered += got;
    if (got < m_blockSize)
        m_fileEnd = bufferEnd + got;
    return got > 0;
}

std::string_view FileDataReader::buffered(std::uint64_t from, std::uint64_t to) const
{
    return {reinterpret_cast<const char*>(m_buffer.get()) + (from - m_bufferStart), static_cast<std::size_t>(to - from)};
}

void FileDataReader::updateProgress()
{
    std::int64_t total = m_progress->totalUnitCount();
    m_progress->setCompletedUnitCount(total < 0 ? m_bytesRead : std::max<std::int64_t>(std::min(total, m_bytesRead), 0));
}

} // namespace Basalwork
