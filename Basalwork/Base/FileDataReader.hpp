#pragma once

#include "Platform/Foundation/AnyIterator.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/FileHandle.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/Foundation/URL.hpp"

#include <array>
#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace Basalwork {

// Reads a file record by record, `chunkSize` bytes at a time, cutting records at byte delimiters. Of
// the delimiters, the first in the caller's order that occurs anywhere in the buffered bytes wins, even
// when another occurs earlier. The progress counts the bytes handed out against the file's size.
//
// Made with `Foundation::make<FileDataReader>(...)`, which throws the system's error when the file
// cannot be opened or its size cannot be read. A reader belongs to one thread at a time.
class FileDataReader : public Foundation::NSObject {
public:
    class ByteSet;
    static constexpr std::size_t defaultBlockSize = std::size_t(1) << 18;

    ~FileDataReader() override;

    // The next record, or nothing once the file is used up. A failed read throws the system's error
    // rather than passing for the end of the file.
    virtual std::optional<Foundation::Data> nextData();
    // The same record as nextData gives, counted the same way, but as a view of the reader's own buffer
    // that stays valid until the next call: for readers that scan records without keeping them.
    std::optional<std::string_view> nextRecord();
    // Where the record nextRecord last handed out starts in the file, and the bytes read after it as a view
    // of the same buffer, valid until the next call: for a reader that looks ahead.
    std::uint64_t recordOffset() const { return m_lastRecordStart; }
    std::string_view heldAfterRecord() const;

    const std::shared_ptr<Foundation::Progress>& progress() const { return m_progress; }

    // For a reader that scans the held bytes itself and hands records out only to count them.
    // The bytes held, from `heldStart()` in the file on: valid until the reader reads again.
    std::string_view held() const { return {reinterpret_cast<const char*>(m_buffer.get()), m_buffered}; }
    std::uint64_t heldStart() const { return m_bufferStart; }
    // Where the record that nextRecord hands out next starts.
    std::uint64_t nextRecordStart() const { return m_recordStart; }
    // Whether the held bytes run to the end of the file, as far as reading has found out.
    bool holdsFileEnd() const { return m_fileEnd && m_bufferStart + m_buffered >= *m_fileEnd; }
    // The held bytes from `offset` on stay held, besides those from the next record's start on, whatever is
    // read later.
    void keepFrom(std::uint64_t offset) { m_keptFrom = offset; }
    // Reads one block more after what is held; false at the end of the file.
    bool readBlock() { return loadBlock(); }
    // Hands out, as nextRecord would, the `count` records that end by `end` when each of them ends at the
    // first delimiter of the list, one byte long, and the reading would cut them there; otherwise does
    // nothing and says false. The caller knows the bytes before `end` hold that delimiter `count` times, the
    // last of them at `end - 1`.
    bool skipRecordsEndingInFirstDelimiter(std::uint64_t end, std::uint64_t count);
    // Up to where that hand-out works, whatever is handed out before it: 0 when the first delimiter is not
    // one byte long.
    std::uint64_t firstDelimiterEndsRecordsBy() const;

    // Each holds the reader, so it can outlive the caller's reference.
    Foundation::AnyIterator<Foundation::Data> makeIterator();
    auto begin() { return makeIterator().begin(); }
    std::default_sentinel_t end() { return {}; }

protected:
    friend Foundation::Construct;
    // `chunkSize` must be positive. A progress passed in has its total replaced by the file's size; without
    // one the reader makes its own.
    // `blockSize` (positive) is how much is read from the file at once: records never depend on it.
    FileDataReader(Foundation::URL fileURL, std::vector<Foundation::Data> delimiters, bool includeDelimetersInData,
                   std::int64_t chunkSize, std::shared_ptr<Foundation::Progress> progress,
                   std::size_t blockSize = defaultBlockSize);

private:
    // Records are cut as reading one chunk per call and searching all that was read would cut them: the
    // reader only remembers how far that reading would have come (`m_readEnd`), and reads the file in
    // large blocks, holding the current record and at most a block more. Offsets are file offsets.
    struct Search {
        std::uint64_t scannedTo = 0; // no occurrence starts in [record start, scannedTo)
        std::optional<std::uint64_t> found; // else the first one after that, when at or past the record start
    };
    struct Record {
        std::uint64_t end;
        std::uint64_t delimiterLength;
    };

    std::optional<Record> cutRecord();
    std::optional<std::uint64_t> earliestDelimiterEnd();
    bool occursBefore(std::size_t delimiter, std::uint64_t limit);
    bool loadBlock();
    std::string_view buffered(std::uint64_t from, std::uint64_t to) const;
    void updateProgress();

    Foundation::URL m_fileURL;
    bool m_isAccessingSecurityScopedResource;
    std::shared_ptr<Foundation::FileHandle> m_fileHandle;
    std::vector<Foundation::Data> m_delimeters;
    bool m_includeDelimetersInData;
    std::int64_t m_chunkSize;
    std::size_t m_blockSize;
    std::shared_ptr<Foundation::Progress> m_progress;
    std::int64_t m_bytesRead = 0;

    std::uint64_t m_recordStart = 0;
    std::uint64_t m_keptFrom = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t m_lastRecordStart = 0;
    std::uint64_t m_readEnd = 0;
    std::optional<std::uint64_t> m_fileEnd;
    std::vector<Search> m_searches;
    // The first bytes of the delimiters.
    std::shared_ptr<const ByteSet> m_delimiterStarts;
    // The file's bytes [m_bufferStart, m_bufferStart + m_buffered).
    std::unique_ptr<std::uint8_t[]> m_buffer;
    std::size_t m_capacity = 0;
    std::size_t m_buffered = 0;
    std::uint64_t m_bufferStart = 0;
    std::unique_ptr<std::uint8_t[]> m_scratch;
    std::size_t m_scratchSize = 0;
};

} // namespace Basalwork
