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
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Basalwork {

// Turns the UTF-8 text of a CSV file into rows, one per call, streaming it in 4096-byte chunks.
//
// Values keep their quotes: a field that begins with a quote runs, separators and newlines included,
// until a quote that is not escaped closes it and a separator or newline follows. An escaped quote
// stands as one quote. A newline is U+000A to U+000D, CR LF, U+0085, U+2028 or U+2029; a byte order
// mark where a field would begin is skipped; an empty field is nothing.
//
// The text is scanned by Unicode scalars, not by characters: a quote or separator followed by a
// combining mark still counts, so any value the writer quotes comes back as written.
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

    Foundation::AnyIterator<CSVRow> makeIterator();
    auto begin() { return makeIterator().begin(); }
    std::default_sentinel_t end() { return {}; }

protected:
    friend Foundation::Construct;
    // Fields are separated by `delimeter` (a comma for the CSV the system writes). The file is read
    // `chunkSize` bytes at a time; the rows never depend on it.
    CSVRowReader(const Foundation::URL& url, const Foundation::Character& delimeter,
                 const Foundation::Character& escapeCharacter, std::shared_ptr<Foundation::Progress> progress,
                 std::int64_t chunkSize = defaultChunkSize);

private:
    bool loadNextRecord();
    bool isUTF8(std::string_view record);

    std::shared_ptr<FileDataReader> m_fileDataReader;
    Foundation::Character m_delimeter;
    Foundation::Character m_escapeCharacter;
    // The bytes that can change what a field's next characters mean, inside an open quoted field and
    // elsewhere; runs of other bytes are taken whole. Unusual delimiters or escapes go token by token.
    std::shared_ptr<FileDataReader::ByteSet> m_stopsInOpenField;
    std::shared_ptr<FileDataReader::ByteSet> m_stopsElsewhere;
    bool m_takesRuns = false;
    // A delimiter and an escape of one byte each: the common fields are then taken whole.
    bool m_hasSingleByteTokens = false;
    unsigned char m_delimiterByte = 0;
    unsigned char m_escapeByte = 0;
    std::size_t findStructural(const unsigned char* bytes, std::size_t from, std::size_t size) const;
    bool takeWholeFields();
    void copyFieldsOutOfRecord(std::size_t& copiedFrom, bool hasField);
    // The row being read: its fields, and the bytes of those that are not left in the record.
    std::vector<CSVRowView::Field> m_fields;
    std::string m_copied;
    // The row's fields from this one on are in the current record.
    std::size_t m_firstFieldInRecord = 0;
    // A view of the reader's buffer: a row may end inside a record, and what follows is the next row's
    // start, not something to drop.
    std::string_view m_record;
    std::size_t m_position = 0;
    // A CR that ended a row at the very end of a record may be the first half of a CR LF.
    bool m_skipsLeadingLineFeed = false;
    // File offsets: up to where the text is known to be UTF-8, and up to where a span failed the check, so
    // its records are checked one by one.
    std::uint64_t m_checkedTo = 0;
    std::uint64_t m_spanFailedTo = 0;
};

} // namespace Basalwork
