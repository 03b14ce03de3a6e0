#include "Basalwork/Base/CSVRowReader.hpp"

#include "Basalwork/Base/Data.hpp"
#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/UTF8Validation.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Basalwork {
namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view nextLine = "\xC2\x85";
constexpr std::string_view lineSeparator = "\xE2\x80\xA8";
constexpr std::string_view paragraphSeparator = "\xE2\x80\xA9";
constexpr std::uint64_t unknownCount = std::numeric_limits<std::uint64_t>::max();

// The first bytes of every newline.
bool startsNewline(unsigned char byte)
{
    return (byte >= '\n' && byte <= '\r') || byte == 0xC2 || byte == 0xE2;
}

// The length of the newline that starts the text; 0 for none. CR LF is one newline.
std::size_t newlineLength(std::string_view text, bool onlyCROrLF)
{
    if (text.empty())
        return 0;
    if (text[0] == '\r')
        return text.size() > 1 && text[1] == '\n' ? 2 : 1;
    if (onlyCROrLF)
        return text[0] == '\n' ? 1 : 0;
    if (text[0] >= '\n' && text[0] <= '\r')
        return 1;
    if (!startsNewline(static_cast<unsigned char>(text[0])))
        return 0;
    for (auto newline : {nextLine, lineSeparator, paragraphSeparator}) {
        if (text.starts_with(newline))
            return newline.size();
    }
    return 0;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return prefix.size() == 1 ? !text.empty() && text[0] == prefix[0] : text.starts_with(prefix);
}

// The length of the scalar the text starts with, as its lead byte tells; bytes that are no lead go one by one,
// and a scalar cut by the end of the text ends there. Such text is not UTF-8 and fails before its rows come out.
std::size_t scalarLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, text.size());
}

// Finds, 64 bytes at a time, those that are the delimiter, a quote or the escape, or may begin a newline.
class StructuralBytes {
public:
    // `lanes` holds the delimiter 16 times, then the escape 16 times.
    explicit StructuralBytes(const std::array<unsigned char, 32>& lanes)
#if defined(__SSE2__)
        : m_delimiter(_mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes.data())))
        , m_escape(_mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes.data() + 16)))
#else
        : m_delimiterByte(lanes[0])
        , m_escapeByte(lanes[16])
#endif
    {
    }

    // One bit for each of the 64 bytes.
    std::uint64_t in64(const unsigned char* bytes) const
    {
#if defined(__SSE2__)
        const __m128i quote = _mm_set1_epi8('"');
        const __m128i nextLineStart = _mm_set1_epi8(static_cast<char>(0xC2));
        const __m128i separatorStart = _mm_set1_epi8(static_cast<char>(0xE2));
        const __m128i lineFeed = _mm_set1_epi8(0x0A);
        const __m128i three = _mm_set1_epi8(3);
        std::uint64_t bits = 0;
        for (int part = 0; part < 4; ++part) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * part));
            // LF, VT, FF and CR: 0x0A to 0x0D, or below 4 once 0x0A is taken away.
            const __m128i controls = _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(block, lineFeed), three), _mm_setzero_si128());
            const __m128i hits = _mm_or_si128(
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, m_delimiter), _mm_cmpeq_epi8(block, quote)),
                             _mm_or_si128(_mm_cmpeq_epi8(block, m_escape), controls)),
                _mm_or_si128(_mm_cmpeq_epi8(block, nextLineStart), _mm_cmpeq_epi8(block, separatorStart)));
            bits |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(hits))) << (16 * part);
        }
        return bits;
#else
        std::uint64_t bits = 0;
        for (int k = 0; k < 64; ++k) {
            const unsigned char byte = bytes[k];
            if (byte == m_delimiterByte || byte == m_escapeByte || byte == '"' || startsNewline(byte))
                bits |= std::uint64_t(1) << k;
        }
        return bits;
#endif
    }

private:
#if defined(__SSE2__)
    __m128i m_delimiter;
    __m128i m_escape;
#else
    unsigned char m_delimiterByte;
    unsigned char m_escapeByte;
#endif
};

// The text cut before a scalar that the end of the held bytes cuts short, if any.
std::string_view withoutCutScalar(std::string_view text)
{
    for (std::size_t k = 1; k <= 3 && k <= text.size(); ++k) {
        const auto byte = static_cast<unsigned char>(text[text.size() - k]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        if (length > k)
            text.remove_suffix(k);
        break;
    }
    return text;
}

} // namespace

// The held bytes from the row's start on. Reading more may move them, so positions in the row are counted
// from its start.
class CSVRowReader::Window {
public:
    Window(CSVRowReader& owner, std::uint64_t rowStart)
        : start(rowStart)
        , m_owner(owner)
        , m_reader(*owner.m_fileDataReader)
    {
        m_reader.keepFrom(rowStart);
        refresh();
    }

    // Whether `count` bytes from the row's start are held, reading more of the file as needed.
    bool holds(std::size_t count)
    {
        if (count > m_owner.m_maximumRowByteCount && size < count)
            throw GeneralError::failedWithMessage(Foundation::String("a row is longer than " + std::to_string(m_owner.m_maximumRowByteCount / (1024 * 1024)) + " MB"));
        while (size < count && !atEnd) {
            // What the reader keeps depends on the records it has handed out.
            m_owner.handOutCountedRecords();
            // Reading may move the bytes even when it finds the end of the file.
            atEnd = !m_reader.readBlock();
            refresh();
        }
        return size >= count;
    }

    void refresh()
    {
        const std::string_view held = m_reader.held();
        const auto offset = static_cast<std::size_t>(start - m_reader.heldStart());
        bytes = reinterpret_cast<const unsigned char*>(held.data()) + offset;
        size = held.size() - offset;
    }

    const std::uint64_t start;
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    bool atEnd = false;

private:
    CSVRowReader& m_owner;
    FileDataReader& m_reader;
};

CSVRowReader::CSVRowReader(const Foundation::URL& url, const Foundation::Character& delimeter,
                           const Foundation::Character& escapeCharacter, std::shared_ptr<Foundation::Progress> progress,
                           std::int64_t chunkSize, std::size_t blockSize)
    : m_fileDataReader(Foundation::make<FileDataReader>(url, DataConstants::newlines(), true, chunkSize, std::move(progress),
                                                        blockSize))
    , m_delimeter(delimeter)
    , m_escapeCharacter(escapeCharacter)
{
    const std::string_view delimiter = m_delimeter.utf8();
    const std::string_view escape = m_escapeCharacter.utf8();
    m_delimiterByte = static_cast<unsigned char>(delimiter[0]);
    m_escapeByte = static_cast<unsigned char>(escape[0]);
    std::fill_n(m_tokenLanes.begin(), 16, m_delimiterByte);
    std::fill_n(m_tokenLanes.begin() + 16, 16, m_escapeByte);
    // A delimiter or escape that could be taken for a newline or a quote, or for each other, goes token by token.
    m_hasSingleByteTokens = delimiter.size() == 1 && escape.size() == 1 && m_delimiterByte < 0x80 && m_escapeByte < 0x80
        && !startsNewline(m_delimiterByte) && !startsNewline(m_escapeByte) && m_delimiterByte != '"'
        && m_delimiterByte != m_escapeByte;
    for (unsigned char byte : {m_delimiterByte, m_escapeByte, static_cast<unsigned char>('"')})
        m_isStructural[byte] = true;
    for (unsigned char byte : {0x0A, 0x0B, 0x0C, 0x0D, 0xC2, 0xE2})
        m_isStructural[byte] = true;
}

std::optional<CSVRow> CSVRowReader::nextRow()
{
    auto view = nextRowView();
    if (!view)
        return std::nullopt;
    return view->row();
}

std::optional<CSVRowView> CSVRowReader::nextRowView()
{
    m_fieldCount = 0;
    m_copied.clear();
    Window window(*this, m_position);
    return m_hasSingleByteTokens ? scanRow(window) : scanRowTokenByToken(window);
}

std::uint64_t CSVRowReader::structuralBits(const unsigned char* bytes, std::size_t count) const
{
    std::uint64_t bits = 0;
    for (std::size_t k = 0; k < count; ++k)
        bits |= std::uint64_t(m_isStructural[bytes[k]]) << k;
    return bits;
}

// The row from the bytes that can matter: runs of others are taken whole, and a field's bytes are left where
// they are unless an escape is taken out of them.
std::optional<CSVRowView> CSVRowReader::scanRow(Window& window)
{
    const unsigned char delimiter = m_delimiterByte;
    const unsigned char escape = m_escapeByte;
    const StructuralBytes structural(m_tokenLanes);
    // The held bytes from the row's start, which reading more may move.
    const unsigned char* bytes = window.bytes;
    std::size_t size = window.size;
    auto holds = [&](std::size_t count) __attribute__((always_inline)) {
        if (count <= size)
            return true;
        const bool held = window.holds(count);
        bytes = window.bytes;
        size = window.size;
        return held;
    };

    // Which bytes can matter, from the row's start: `bits` covers `bitsLength` bytes from `bitsFrom`.
    std::size_t bitsFrom = 0;
    std::size_t bitsLength = 0;
    std::uint64_t bits = 0;
    if (m_bitsFrom <= window.start && window.start - m_bitsFrom < m_bitsLength) {
        const auto skipped = static_cast<std::size_t>(window.start - m_bitsFrom);
        bits = m_bits >> skipped;
        bitsLength = m_bitsLength - skipped;
    }
    auto keepBits = [&] {
        m_bitsFrom = window.start + bitsFrom;
        m_bits = bits;
        m_bitsLength = bitsLength;
    };
    // The first byte at or after `at` that can matter; the row's size at the end of the file.
    auto nextStructural = [&](std::size_t at) __attribute__((always_inline)) {
        while (true) {
            if (at - bitsFrom < bitsLength) {
                if (const std::uint64_t ahead = bits >> (at - bitsFrom))
                    return at + static_cast<std::size_t>(__builtin_ctzll(ahead));
                at = bitsFrom + bitsLength;
            }
            if (!holds(at + 1))
                return size;
            bitsFrom = at;
            if (size - at >= 64) {
                bitsLength = 64;
                bits = structural.in64(bytes + at);
            } else {
                bitsLength = size - at;
                bits = structuralBits(bytes + at, bitsLength);
            }
        }
    };
    const bool onlyCROrLF = m_lineEnds == LineEnds::crOrLF;
    auto newlineAt = [&](std::size_t at) __attribute__((always_inline)) -> std::size_t {
        const unsigned char byte = bytes[at];
        if (byte == '\n')
            return 1;
        if (byte == '\r')
            return holds(at + 2) && bytes[at + 1] == '\n' ? 2 : 1;
        if (onlyCROrLF)
            return 0;
        if (byte >= '\n' && byte <= '\f')
            return 1;
        if (byte == 0xC2)
            return holds(at + 2) && bytes[at + 1] == 0x85 ? 2 : 0;
        if (byte == 0xE2)
            return holds(at + 3) && bytes[at + 1] == 0x80 && (bytes[at + 2] & 0xFE) == 0xA8 ? 3 : 0;
        return 0;
    };
    std::size_t fieldCount = 0;
    auto endAt = [&](std::size_t at, std::size_t newline, std::uint64_t lineFeeds) {
        m_fieldCount = fieldCount;
        keepBits();
        return endRow(window, at + newline, at, lineFeeds + (bytes[at + newline - 1] == '\n'));
    };

    // The fields found, kept where the row's end can take them.
    CSVRowView::Field* fields = m_fields.data();
    std::size_t fieldCapacity = m_fields.size();
    auto addField = [&](const CSVRowView::Field& field) __attribute__((always_inline)) {
        if (fieldCount == fieldCapacity) {
            m_fields.resize(std::max<std::size_t>(16, 2 * fieldCapacity));
            fields = m_fields.data();
            fieldCapacity = m_fields.size();
        }
        fields[fieldCount++] = field;
    };

    std::uint64_t lineFeeds = 0;
    std::size_t at = 0;
    while (true) {
        // A field starts here. Most are nothing or ordinary characters, up to the delimiter or a LF.
        const std::size_t fieldStart = at;
        const std::size_t end = nextStructural(at);
        bool quoted = false;
        bool startsOrdinary = false;
        if (end < size && (end == at || bytes[at] != 0xEF)) {
            const unsigned char byte = bytes[end];
            if (byte == delimiter || byte == '\n') {
                // An empty field is nothing.
                addField({fieldStart, end - fieldStart, end > fieldStart ? CSVRowView::Source::record
                                                                                   : CSVRowView::Source::none});
                if (byte == '\n')
                    return endAt(end, 1, lineFeeds);
                at = end + 1;
                continue;
            }
            startsOrdinary = end > at;
            if (startsOrdinary)
                at = end;
        }
        if (!startsOrdinary) {
            if (!holds(at + 1)) {
                m_fieldCount = fieldCount;
                keepBits();
                return endFile(window);
            }
            const unsigned char first = bytes[at];
            if (!m_isStructural[first]) {
                if (first == 0xEF && holds(at + 3) && bytes[at + 1] == 0xBB && bytes[at + 2] == 0xBF) {
                    at += byteOrderMark.size();
                    continue;
                }
            } else if (first == delimiter) {
                addField({});
                ++at;
                continue;
            } else if (first == '"') {
                quoted = true;
            } else if (const std::size_t newline = newlineAt(at)) {
                addField({});
                return endAt(at, newline, lineFeeds);
            }
            at = nextStructural(at + 1);
        }

        // The field's value is its bytes, or once an escape is taken out of them, the copied bytes from
        // `copiedFrom` followed by its bytes from `pendingFrom`.
        bool closes = false;
        bool escaping = false;
        bool isCopied = false;
        std::size_t copiedFrom = 0;
        std::size_t pendingFrom = 0;
        auto finishField = [&](std::size_t end) __attribute__((always_inline)) {
            if (!isCopied) {
                addField({fieldStart, end - fieldStart, CSVRowView::Source::record});
                return;
            }
            m_copied.append(reinterpret_cast<const char*>(bytes) + pendingFrom, end - pendingFrom);
            addField({copiedFrom, m_copied.size() - copiedFrom, CSVRowView::Source::copied});
        };
        while (true) {
            if (at == size) {
                finishField(at);
                m_fieldCount = fieldCount;
                keepBits();
                return endRow(window, at, at - 1, lineFeeds);
            }
            const unsigned char byte = bytes[at];
            if (!quoted || closes) {
                if (byte == delimiter) {
                    finishField(at);
                    ++at;
                    break;
                }
                if (const std::size_t newline = newlineAt(at)) {
                    finishField(at);
                    return endAt(at, newline, lineFeeds);
                }
            } else if (byte == '\n') {
                ++lineFeeds;
            }
            const bool wasEscaping = escaping;
            if (byte == '"') {
                closes = !wasEscaping;
                escaping = escape == '"' && !wasEscaping;
                // An escaped quote takes the place of its escape, the byte before it.
                if (wasEscaping) {
                    const auto* text = reinterpret_cast<const char*>(bytes);
                    if (!isCopied) {
                        isCopied = true;
                        copiedFrom = m_copied.size();
                        m_copied.append(text + fieldStart, at - 1 - fieldStart);
                    } else {
                        m_copied.append(text + pendingFrom, at - 1 - pendingFrom);
                    }
                    pendingFrom = at;
                }
            } else {
                closes = false;
                escaping = byte == escape && !wasEscaping;
            }
            const std::size_t next = nextStructural(at + 1);
            // Ordinary characters leave no quote or escape pending.
            if (next > at + 1)
                closes = escaping = false;
            at = next;
        }
    }
}

// The same reading for any delimiter and escape, one token at a time.
std::optional<CSVRowView> CSVRowReader::scanRowTokenByToken(Window& window)
{
    using Source = CSVRowView::Source;
    const std::string_view delimiter = m_delimeter.utf8();
    const std::string_view escape = m_escapeCharacter.utf8();
    // Enough bytes to tell any token from the start of the rest.
    const std::size_t lookahead = std::max({delimiter.size(), escape.size(), std::size_t(4)});
    const bool onlyCROrLF = m_lineEnds == LineEnds::crOrLF;
    bool hasField = false;
    bool quoted = false;
    bool closes = false;
    bool escaping = false;
    bool isCopied = false;
    std::size_t fieldStart = 0;
    std::size_t copiedFrom = 0;
    std::size_t pendingFrom = 0;
    std::size_t lastTokenStart = 0;
    auto finishField = [&](std::size_t end) {
        if (!isCopied) {
            addField({fieldStart, end - fieldStart, Source::record});
        } else {
            m_copied.append(reinterpret_cast<const char*>(window.bytes) + pendingFrom, end - pendingFrom);
            addField({copiedFrom, m_copied.size() - copiedFrom, Source::copied});
        }
        hasField = false;
    };

    std::size_t at = 0;
    while (window.holds(at + lookahead) || at < window.size) {
        const std::string_view rest(reinterpret_cast<const char*>(window.bytes) + at, window.size - at);
        const bool isOpen = hasField && quoted && !closes;
        if (!isOpen && startsWith(rest, delimiter)) {
            if (hasField)
                finishField(at);
            else
                addField({});
            at += delimiter.size();
            continue;
        }
        const std::size_t newline = newlineLength(rest, onlyCROrLF);
        if (!isOpen && newline > 0) {
            if (hasField)
                finishField(at);
            else
                addField({});
            return endRow(window, at + newline, at, unknownCount);
        }
        if (!hasField) {
            if (rest.starts_with(byteOrderMark)) {
                at += byteOrderMark.size();
                continue;
            }
            hasField = true;
            fieldStart = at;
            isCopied = false;
            quoted = rest[0] == '"';
            closes = escaping = false;
            at += scalarLength(rest);
            continue;
        }
        const bool isEscape = startsWith(rest, escape);
        const std::size_t length = isEscape ? escape.size() : newline > 0 ? newline : scalarLength(rest);
        const bool isQuote = length == 1 && rest[0] == '"';
        // An escaped quote takes the place of its escape.
        if (isQuote && escaping) {
            const auto* bytes = reinterpret_cast<const char*>(window.bytes);
            if (!isCopied) {
                isCopied = true;
                copiedFrom = m_copied.size();
                m_copied.append(bytes + fieldStart, lastTokenStart - fieldStart);
            } else {
                m_copied.append(bytes + pendingFrom, lastTokenStart - pendingFrom);
            }
            pendingFrom = at;
        }
        closes = isQuote && !escaping;
        escaping = isEscape && !escaping;
        lastTokenStart = at;
        at += length;
    }
    if (!hasField)
        return endFile(window);
    finishField(window.size);
    return endRow(window, window.size, window.size - 1, unknownCount);
}

// At the end of the file where a field would start: the row ends there unless it has no field at all.
std::optional<CSVRowView> CSVRowReader::endFile(Window& window)
{
    if (m_fieldCount > 0) {
        addField({});
        return endRow(window, window.size, window.size - 1, unknownCount);
    }
    const std::uint64_t fileEnd = window.start + window.size;
    if (fileEnd > 0)
        handOutRecordsThrough(fileEnd - 1, window.start, fileEnd, unknownCount);
    m_position = fileEnd;
    return std::nullopt;
}

// The row ends `end` bytes from its start, the records holding its bytes up to `lastCounted` counted (a CR LF
// that ends it may lie across two records). It holds `lineFeeds` LFs, when known.
std::optional<CSVRowView> CSVRowReader::endRow(Window& window, std::size_t end, std::size_t lastCounted,
                                               std::uint64_t lineFeeds)
{
    const std::uint64_t rowEnd = window.start + end;
    const bool endsWithLineFeed = window.bytes[end - 1] == '\n';
    if (m_validTo < rowEnd)
        checkUTF8Through(rowEnd);
    const std::uint64_t recordStart = m_countedLineFeeds > 0 ? m_countedTo : m_fileDataReader->nextRecordStart();
    if (endsWithLineFeed && lineFeeds != unknownCount && lineFeeds > 0 && recordStart == window.start
        && rowEnd <= m_lineFeedsEndRecordsBy && m_invalidFrom >= rowEnd) {
        // Most often records end at each LF, and the row's end is one: its records are counted, and handed
        // out later with others.
        m_countedTo = rowEnd;
        m_countedLineFeeds += lineFeeds;
        const auto& progress = m_fileDataReader->progress();
        const std::int64_t total = progress->totalUnitCount();
        const auto counted = static_cast<std::int64_t>(rowEnd);
        progress->setCompletedUnitCount(total < 0 ? counted : std::max<std::int64_t>(std::min(total, counted), 0));
    } else {
        handOutRecordsThrough(window.start + lastCounted, window.start, rowEnd, endsWithLineFeed ? lineFeeds : unknownCount);
        m_lineFeedsEndRecordsBy = m_fileDataReader->firstDelimiterEndsRecordsBy();
    }
    m_position = rowEnd;
    // Counting records may have read more, and moved the bytes.
    window.refresh();
    return CSVRowView(reinterpret_cast<const char*>(window.bytes), m_copied.data(), m_fields.data(), m_fieldCount);
}

// Hands out the records up to the one that holds the byte at `offset`, each checked to be UTF-8. The row from
// `rowStart` to `rowEnd` holds `lineFeeds` LFs, when known, the last of them at its end.
void CSVRowReader::handOutRecordsThrough(std::uint64_t offset, std::uint64_t rowStart, std::uint64_t rowEnd,
                                         std::uint64_t lineFeeds)
{
    handOutCountedRecords();
    FileDataReader& reader = *m_fileDataReader;
    if (reader.nextRecordStart() > offset)
        return;
    if (m_validTo < rowEnd)
        checkUTF8Through(rowEnd);
    // Most often records end at each LF, and the row's end is one.
    const std::uint64_t recordStart = reader.nextRecordStart();
    if (lineFeeds != unknownCount && m_invalidFrom >= rowEnd && recordStart <= rowStart) {
        const std::string_view held = reader.held();
        const std::string_view before = held.substr(static_cast<std::size_t>(recordStart - reader.heldStart()),
                                                    static_cast<std::size_t>(rowStart - recordStart));
        const auto count = lineFeeds + static_cast<std::uint64_t>(std::count(before.begin(), before.end(), '\n'));
        if (reader.skipRecordsEndingInFirstDelimiter(rowEnd, count))
            return;
    }
    while (reader.nextRecordStart() <= offset) {
        auto record = reader.nextRecord();
        if (!record)
            return;
        const std::uint64_t end = reader.recordOffset() + record->size();
        checkUTF8Through(end);
        if (m_invalidFrom < end) {
            // Reading goes on after the record.
            m_position = m_validTo = end;
            m_invalidFrom = std::numeric_limits<std::uint64_t>::max();
            throw GeneralError::failedToDecodeUTF8StringFromData(Foundation::Data(record->data(), record->size()));
        }
    }
}

void CSVRowReader::handOutCountedRecords()
{
    if (m_countedLineFeeds == 0)
        return;
    const bool handedOut = m_fileDataReader->skipRecordsEndingInFirstDelimiter(m_countedTo, m_countedLineFeeds);
    Foundation::precondition(handedOut, "CSVRowReader counted records the FileDataReader cuts otherwise");
    m_countedLineFeeds = 0;
    m_lineFeedsEndRecordsBy = m_fileDataReader->firstDelimiterEndsRecordsBy();
}

void CSVRowReader::addField(const CSVRowView::Field& field)
{
    if (m_fieldCount == m_fields.size())
        m_fields.resize(std::max<std::size_t>(16, 2 * m_fields.size()));
    m_fields[m_fieldCount++] = field;
}

// Checks the held bytes up to `offset` at least, all that is held at once.
void CSVRowReader::checkUTF8Through(std::uint64_t offset)
{
    FileDataReader& reader = *m_fileDataReader;
    while (m_validTo < offset && m_invalidFrom == std::numeric_limits<std::uint64_t>::max()) {
        const std::string_view held = reader.held();
        const std::string_view rest = held.substr(static_cast<std::size_t>(m_validTo - reader.heldStart()));
        std::string_view span = reader.holdsFileEnd() ? rest : withoutCutScalar(rest);
        if (span.empty())
            span = rest;
        const std::size_t valid = validUTF8PrefixLength(span);
        m_validTo += valid;
        if (valid < span.size())
            m_invalidFrom = m_validTo;
    }
}

Foundation::AnyIterator<CSVRow> CSVRowReader::makeIterator()
{
    return Foundation::AnyIterator<CSVRow>([self = sharedSelf(this)] { return self->nextRow(); });
}

} // namespace Basalwork
