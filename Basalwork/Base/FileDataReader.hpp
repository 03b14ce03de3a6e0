#pragma once

#include "Platform/Foundation/AnyIterator.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/FileHandle.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/Foundation/URL.hpp"

#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
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
    ~FileDataReader() override;

    // The next record, or nothing once the file is used up. A failed read throws the system's error
    // rather than passing for the end of the file.
    virtual std::optional<Foundation::Data> nextData();

    const std::shared_ptr<Foundation::Progress>& progress() const { return m_progress; }

    // Each holds the reader, so it can outlive the caller's reference.
    Foundation::AnyIterator<Foundation::Data> makeIterator();
    auto begin() { return makeIterator().begin(); }
    std::default_sentinel_t end() { return {}; }

protected:
    friend Foundation::Construct;
    // `chunkSize` must be positive. A progress passed in has its total replaced by the file's size; without
    // one the reader makes its own.
    FileDataReader(Foundation::URL fileURL, std::vector<Foundation::Data> delimiters, bool includeDelimetersInData,
                   std::int64_t chunkSize, std::shared_ptr<Foundation::Progress> progress);

private:
    struct Match {
        std::size_t start;
        std::size_t end;
    };
    // Where the search for one delimiter stands, in buffer offsets: no occurrence starts in
    // [m_start, scannedTo), and `found` (when at or past m_start) is the first one after that. Keeping
    // this between calls makes reading a file linear in its size however the records fall.
    struct Search {
        std::size_t scannedTo = 0;
        std::optional<std::size_t> found;
    };

    std::optional<Match> firstDelimiter();
    Foundation::Data takeRecord(std::size_t recordEnd, std::size_t consumedEnd);
    void appendToBuffer(const Foundation::Data& chunk);
    void updateProgress();

    Foundation::URL m_fileURL;
    bool m_isAccessingSecurityScopedResource;
    std::shared_ptr<Foundation::FileHandle> m_fileHandle;
    std::vector<Foundation::Data> m_delimeters;
    bool m_includeDelimetersInData;
    // Unhanded bytes are [m_start, end): handing out a record moves m_start instead of shifting the rest.
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_start = 0;
    std::vector<Search> m_searches;
    std::int64_t m_chunkSize;
    std::shared_ptr<Foundation::Progress> m_progress;
    std::int64_t m_bytesRead = 0;
};

} // namespace Basalwork
