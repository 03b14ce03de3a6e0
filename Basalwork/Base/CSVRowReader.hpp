#pragma once

#include "Basalwork/Base/CSVRow.hpp"
#include "Basalwork/Base/CSVRowView.hpp"
#include "Basalwork/Base/FileDataReader.hpp"

#include "Platform/Foundation/AnyIterator.hpp"
#include "Platform/Foundation/Character.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <array>
#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Basalwork {

// Turns the UTF-8 text of a CSV file into rows, one per call, streaming it in large blocks.
//
// Values keep their quotes: a field that begins with a quote runs, separators and newlines included,
// until a quote that is not escaped closes it and a separator or newline follows. An escaped quote
// stands as one quote. A newline is U+000A to U+000D, CR LF, U+0085, U+2028 or U+2029; a byte order
// mark where a field would begin is skipped; an empty field is nothing.
//
// The text is scanned by Unicode scalars, not by characters: a quote or separator followed by a
// combining mark still counts, so any value the writer quotes comes back as written.
//
// The progress counts the file as cut into newline records `chunkSize` bytes at a time (see
// FileDataReader): after each row, every record that holds a byte of it is counted. Text that is not
// UTF-8 fails the record that holds it: the rows before that record come out, then the call throws, and
// reading goes on after the record.
//
// Made with `Foundation::make<CSVRowReader>(...)`, which throws the system's error when the file cannot
// be opened or its size read.
class CSVRowReader : public Foundation::NSObject {
public:
    static constexpr std::int64_t defaultChunkSize = 4096;

    // The next row, or nothing at the end of the file. Text that is not UTF-8 throws
    // GeneralError.failedToDecodeUTF8StringFromData.
    virtual std::optional<CSVRow> nextRow();
    // The same row, with views of the reader's buffers for its fields, valid until the next call: for a
    // caller that looks at the fields and keeps few of them. The same text throws the same way.
    std::optional<CSVRowView> nextRowView();

    // Which newlines end a row: by default every one named above; other apps' files (RFC 4180) end
    // their rows only with CR, LF or CR LF, and keep the others inside unquoted values. Set before the
    // first row.
    enum class LineEnds { allNewlines, crOrLF };
    void setLineEnds(LineEnds lineEnds) { m_lineEnds = lineEnds; }
    // A row longer than this throws GeneralError.failedWithMessage instead of being read on (a file with
    // no line ends is not read whole into memory).
    void setMaximumRowByteCount(std::size_t count) { m_maximumRowByteCount = count; }

    Foundation::AnyIterator<CSVRow> makeIterator();
    auto begin() { return makeIterator().begin(); }
    std::default_sentinel_t end() { return {}; }

protected:
    friend Foundation::Construct;
    // Fields are separated by `delimeter` (a comma for the CSV the system writes). Records are counted
    // `chunkSize` bytes at a time and the file is read `blockSize` bytes at a time; the rows never depend
    // on either.
    CSVRowReader(const Foundation::URL& url, const Foundation::Character& delimeter,
                 const Foundation::Character& escapeCharacter, std::shared_ptr<Foundation::Progress> progress,
                 std::int64_t chunkSize = defaultChunkSize, std::size_t blockSize = FileDataReader::defaultBlockSize);

private:
    class Window;

    std::optional<CSVRowView> scanRow(Window& window);
    std::optional<CSVRowView> scanRowTokenByToken(Window& window);
    std::optional<CSVRowView> endRow(Window& window, std::size_t end, std::size_t lastCounted,
                                     std::uint64_t lineFeeds);
    std::optional<CSVRowView> endFile(Window& window);
    void handOutRecordsThrough(std::uint64_t offset, std::uint64_t rowStart, std::uint64_t rowEnd,
                               std::uint64_t lineFeeds);
    void checkUTF8Through(std::uint64_t offset);
    void handOutCountedRecords();
    std::uint64_t structuralBits(const unsigned char* bytes, std::size_t count) const;

    std::shared_ptr<FileDataReader> m_fileDataReader;
    LineEnds m_lineEnds = LineEnds::allNewlines;
    std::size_t m_maximumRowByteCount = std::numeric_limits<std::size_t>::max();
    Foundation::Character m_delimeter;
    Foundation::Character m_escapeCharacter;
    // A delimiter and an escape of one byte each that cannot be taken for a quote or a newline: the rows
    // are then found from the few bytes that can matter, 64 at a time.
    bool m_hasSingleByteTokens = false;
    unsigned char m_delimiterByte = 0;
    unsigned char m_escapeByte = 0;
    std::array<unsigned char, 32> m_tokenLanes {};
    // The bytes that can matter: the delimiter, quote and escape, and those that begin a newline.
    std::array<bool, 256> m_isStructural {};
    // The row being read: its first `m_fieldCount` fields, and the bytes of those that had an escape taken out.
    std::vector<CSVRowView::Field> m_fields;
    std::size_t m_fieldCount = 0;
    std::string m_copied;
    void addField(const CSVRowView::Field& field);
    // File offsets: where the next row starts; up to where the text is known to be UTF-8, and where
    // it stops being so (or the largest offset).
    std::uint64_t m_position = 0;
    // Rows that end in a LF, up to `m_countedTo`, are counted here first: their `m_countedLineFeeds` records
    // go to the FileDataReader together, before it reads or cuts again. Until `m_lineFeedsEndRecordsBy`
    // every LF ends a record.
    std::uint64_t m_countedTo = 0;
    std::uint64_t m_countedLineFeeds = 0;
    std::uint64_t m_lineFeedsEndRecordsBy = 0;
    std::uint64_t m_validTo = 0;
    std::uint64_t m_invalidFrom = std::numeric_limits<std::uint64_t>::max();
    // Which of the `m_bitsLength` bytes from file offset `m_bitsFrom` on can matter, one bit each.
    std::uint64_t m_bitsFrom = 0;
    std::uint64_t m_bits = 0;
    std::size_t m_bitsLength = 0;
};

} // namespace Basalwork
