#include "Basalwork/Base/CSVRowReader.hpp"

#include "Basalwork/Base/Data.hpp"
#include "Basalwork/Base/FileDataReader.ByteSet.hpp"
#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/UTF8Validation.hpp"


namespace Basalwork {
namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view nextLine = "\xC2\x85";
constexpr std::string_view lineSeparator = "\xE2\x80\xA8";
constexpr std::string_view paragraphSeparator = "\xE2\x80\xA9";

// The first bytes of every newline.
bool startsNewline(unsigned char byte)
{
    return (byte >= '\n' && byte <= '\r') || byte == 0xC2 || byte == 0xE2;
}

// The length of the newline that starts the text; 0 for none. CR LF is one newline.
std::size_t newlineLength(std::string_view text)
{
    if (text[0] == '\r')
        return text.size() > 1 && text[1] == '\n' ? 2 : 1;
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

// The text is valid UTF-8, so the lead byte tells the length.
std::size_t scalarLength(std::string_view text)
{
    auto lead = static_cast<unsigned char>(text[0]);
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// The first byte in [from, size) that is the delimiter, a quote or the escape or may begin a newline, all
// of them single bytes; `stops` holds the same bytes.
inline std::size_t findStructuralByte(const unsigned char* bytes, std::size_t from, std::size_t size,
                                      unsigned char delimiterByte, unsigned char escapeByte,
                                      const FileDataReader::ByteSet& stops)
{
#if defined(__SSE2__)
    const __m128i delimiter = _mm_set1_epi8(static_cast<char>(delimiterByte));
    const __m128i escape = _mm_set1_epi8(static_cast<char>(escapeByte));
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i nextLineStart = _mm_set1_epi8(static_cast<char>(0xC2));
    const __m128i separatorStart = _mm_set1_epi8(static_cast<char>(0xE2));
    for (; from + 16 <= size; from += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from));
        // LF, VT, FF and CR: 0x0A to 0x0D, or below 4 once 0x0A is taken away.
        const __m128i controls = _mm_cmpeq_epi8(
            _mm_subs_epu8(_mm_sub_epi8(block, _mm_set1_epi8(0x0A)), _mm_set1_epi8(3)), _mm_setzero_si128());
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, delimiter), _mm_cmpeq_epi8(block, quote)),
                         _mm_or_si128(_mm_cmpeq_epi8(block, escape), controls)),
            _mm_or_si128(_mm_cmpeq_epi8(block, nextLineStart), _mm_cmpeq_epi8(block, separatorStart)));
        if (int mask = _mm_movemask_epi8(hits))
            return from + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#else
    (void)delimiterByte;
    (void)escapeByte;
#endif
    while (from < size && !stops.contains(bytes[from]))
        ++from;
    return from;
}

} // namespace

CSVRowReader::CSVRowReader(const Foundation::URL& url, const Foundation::Character& delimeter,
                           const Foundation::Character& escapeCharacter, std::shared_ptr<Foundation::Progress> progress,
                           std::int64_t chunkSize)
    : m_fileDataReader(Foundation::make<FileDataReader>(url, DataConstants::newlines(), true, chunkSize, std::move(progress)))
    , m_delimeter(delimeter)
    , m_escapeCharacter(escapeCharacter)
{
    auto delimiterStart = static_cast<unsigned char>(m_delimeter.utf8()[0]);
    auto escapeStart = static_cast<unsigned char>(m_escapeCharacter.utf8()[0]);
    // An escape or delimiter that starts like a newline would make a newline inside an open field count.
    m_takesRuns = !startsNewline(delimiterStart) && !startsNewline(escapeStart);
    m_stopsInOpenField = std::make_shared<FileDataReader::ByteSet>();
    m_stopsElsewhere = std::make_shared<FileDataReader::ByteSet>();
    for (unsigned char byte : {static_cast<unsigned char>('"'), escapeStart}) {
        m_stopsInOpenField->insert(byte);
        m_stopsElsewhere->insert(byte);
    }
    m_stopsElsewhere->insert(delimiterStart);
    for (unsigned char byte : {0x0A, 0x0B, 0x0C, 0x0D, 0xC2, 0xE2})
        m_stopsElsewhere->insert(byte);
    m_hasSingleByteTokens = m_takesRuns && m_delimeter.utf8().size() == 1 && m_escapeCharacter.utf8().size() == 1;
    m_delimiterByte = delimiterStart;
    m_escapeByte = escapeStart;
}

std::size_t CSVRowReader::findStructural(const unsigned char* bytes, std::size_t from, std::size_t size) const
{
    return m_hasSingleByteTokens ? findStructuralByte(bytes, from, size, m_delimiterByte, m_escapeByte, *m_stopsElsewhere)
                                 : m_stopsElsewhere->find(bytes, from, size);
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
    using Source = CSVRowView::Source;
    const std::string_view delimiter = m_delimeter.utf8();
    const std::string_view escape = m_escapeCharacter.utf8();
    m_fields.clear();
    m_copied.clear();
    m_firstFieldInRecord = 0;
    auto view = [&] { return CSVRowView(m_record.data(), m_copied.data(), m_fields); };
    // The current field is the copied bytes from `copiedFrom` on followed by the record's bytes from
    // `pendingFrom` to the position, its quotes and escapes still in it: a field within one record is left
    // where it is, and only one that spans records or loses an escape is copied.
    bool hasField = false;
    std::size_t copiedFrom = 0;
    std::size_t pendingFrom = 0;
    std::size_t lastTokenStart = 0;
    bool isQuoted = false;
    bool endsWithQuote = false;
    bool closesQuote = false;
    bool isEscaping = false;
    auto startField = [&] {
        hasField = true;
        copiedFrom = m_copied.size();
        pendingFrom = m_position;
        lastTokenStart = 0;
    };
    auto finishField = [&] {
        if (m_copied.size() == copiedFrom) {
            m_fields.push_back({pendingFrom, m_position - pendingFrom, Source::record});
        } else {
            m_copied.append(m_record.substr(pendingFrom, m_position - pendingFrom));
            m_fields.push_back({copiedFrom, m_copied.size() - copiedFrom, Source::copied});
        }
        hasField = false;
        closesQuote = isEscaping = false;
    };
    auto emptyField = [&] { m_fields.push_back({}); };

    while (true) {
        if (m_position == m_record.size()) {
            if (hasField)
                m_copied.append(m_record.substr(pendingFrom));
            copyFieldsOutOfRecord(copiedFrom, hasField);
            bool loaded = loadNextRecord();
            pendingFrom = m_position;
            if (!loaded)
                break;
        }
        if (!hasField && m_hasSingleByteTokens) {
            if (takeWholeFields())
                return view();
            if (m_position == m_record.size())
                continue;
        }
        if (!hasField && m_takesRuns) {
            // Most fields start with an ordinary character and end at the delimiter.
            auto first = static_cast<unsigned char>(m_record[m_position]);
            if (!m_stopsElsewhere->contains(first) && first != 0xEF) {
                startField();
                isQuoted = endsWithQuote = closesQuote = isEscaping = false;
                m_position = findStructural(reinterpret_cast<const unsigned char*>(m_record.data()), m_position + 1,
                                            m_record.size());
                if (m_position < m_record.size() && delimiter.size() == 1 && m_record[m_position] == delimiter[0]) {
                    finishField();
                    ++m_position;
                }
                continue;
            }
        }
        if (hasField && m_takesRuns) {
            const auto& stops = isQuoted && !(endsWithQuote && closesQuote) ? *m_stopsInOpenField : *m_stopsElsewhere;
            std::size_t at = stops.find(reinterpret_cast<const unsigned char*>(m_record.data()), m_position, m_record.size());
            if (at > m_position) {
                // Ordinary characters leave no quote or escape pending.
                m_position = at;
                endsWithQuote = closesQuote = isEscaping = false;
                continue;
            }
        }

        std::string_view rest = m_record.substr(m_position);
        bool isOpen = hasField && isQuoted && !(endsWithQuote && closesQuote);
        if (!isOpen && startsWith(rest, delimiter)) {
            if (hasField)
                finishField();
            else
                emptyField();
            m_position += delimiter.size();
            continue;
        }
        std::size_t newline = newlineLength(rest);
        if (!isOpen && newline > 0) {
            m_skipsLeadingLineFeed = newline == 1 && rest[0] == '\r' && rest.size() == 1;
            if (hasField)
                finishField();
            else
                emptyField();
            m_position += newline;
            return view();
        }
        if (!hasField) {
            if (rest.starts_with(byteOrderMark)) {
                m_position += byteOrderMark.size();
                continue;
            }
            startField();
            isQuoted = endsWithQuote = rest[0] == '"';
            closesQuote = isEscaping = false;
            m_position += scalarLength(rest);
            continue;
        }
        bool isEscape = startsWith(rest, escape);
        std::size_t length = isEscape ? escape.size() : newline > 0 ? newline : scalarLength(rest);
        bool isQuote = length == 1 && rest[0] == '"';
        closesQuote = isQuote && !isEscaping;
        bool escapesNext = isEscape && !isEscaping;
        // An escaped quote takes the place of its escape character.
        if (isQuote && isEscaping) {
            m_copied.append(m_record.substr(pendingFrom, m_position - pendingFrom));
            m_copied.resize(copiedFrom + lastTokenStart);
            pendingFrom = m_position;
        }
        lastTokenStart = m_copied.size() - copiedFrom + (m_position - pendingFrom);
        m_position += length;
        endsWithQuote = isQuote;
        isEscaping = escapesNext;
    }

    if (hasField) {
        finishField();
        return view();
    }
    if (m_fields.empty())
        return std::nullopt;
    emptyField();
    return view();
}

// Before the record is replaced, the row's fields that are still views of it are copied, ahead of the
// part of the current field already copied, which stays last.
void CSVRowReader::copyFieldsOutOfRecord(std::size_t& copiedFrom, bool hasField)
{
    if (m_firstFieldInRecord == m_fields.size())
        return;
    std::string current;
    if (hasField) {
        current.assign(m_copied, copiedFrom);
        m_copied.resize(copiedFrom);
    }
    for (std::size_t index = m_firstFieldInRecord; index < m_fields.size(); ++index) {
        auto& field = m_fields[index];
        if (field.source != CSVRowView::Source::record)
            continue;
        std::string_view text = m_record.substr(field.start, field.size);
        field.start = m_copied.size();
        field.source = CSVRowView::Source::copied;
        m_copied.append(text);
    }
    m_firstFieldInRecord = m_fields.size();
    copiedFrom = m_copied.size();
    m_copied.append(current);
}

// From a field's start, takes the common fields whole: nothing, ordinary characters up to a structural byte,
// or a quoted value without inner quotes or escapes; each followed by the delimiter or a line break (LF, CR
// or CR LF). True when
// a line break ended the row; otherwise it stops at the end of the record or at the start of a field that
// needs reading token by token.
bool CSVRowReader::takeWholeFields()
{
    // Held in locals: growing the fields could otherwise be taken to change them.
    const auto* bytes = reinterpret_cast<const unsigned char*>(m_record.data());
    const std::size_t size = m_record.size();
    const unsigned char delimiter = m_delimiterByte;
    const unsigned char escape = m_escapeByte;
    const FileDataReader::ByteSet& stopsElsewhere = *m_stopsElsewhere;
    const FileDataReader::ByteSet& stopsInOpenField = *m_stopsInOpenField;
    std::size_t position = m_position;
    while (position < size) {
        const auto first = bytes[position];
        if (first == delimiter) {
            m_fields.push_back({});
            ++position;
            continue;
        }
        std::size_t end = size;
        const bool isEmptyAtLineBreak = first == '\n' || first == '\r';
        if (isEmptyAtLineBreak) {
            end = position;
        } else if (first == '"') {
            std::size_t closing = stopsInOpenField.find(bytes, position + 1, size);
            if (closing < size && bytes[closing] == '"')
                end = closing + 1;
        } else if (!stopsElsewhere.contains(first) && first != 0xEF) {
            end = findStructuralByte(bytes, position + 1, size, delimiter, escape, stopsElsewhere);
        }
        if (end >= size)
            break;
        const auto next = bytes[end];
        if (next != delimiter && next != '\n' && next != '\r')
            break;
        if (isEmptyAtLineBreak)
            m_fields.push_back({});
        else
            m_fields.push_back({position, end - position, CSVRowView::Source::record});
        position = end + 1;
        if (next == delimiter)
            continue;
        // A CR at the very end of a record may be the first half of a CR LF.
        m_skipsLeadingLineFeed = next == '\r' && position == size;
        if (next == '\r' && position < size && bytes[position] == '\n')
            ++position;
        m_position = position;
        return true;
    }
    m_position = position;
    return false;
}

Foundation::AnyIterator<CSVRow> CSVRowReader::makeIterator()
{
    return Foundation::AnyIterator<CSVRow>([self = sharedSelf(this)] { return self->nextRow(); });
}

// Loads records until one has text left to scan: a record that is only the LF of a split CR LF has none.
// A record that is not UTF-8 is used up, and throws.
bool CSVRowReader::loadNextRecord()
{
    do {
        auto record = m_fileDataReader->nextRecord();
        m_record = {};
        m_position = 0;
        if (!record) {
            m_skipsLeadingLineFeed = false;
            return false;
        }
        if (!isUTF8(*record))
            throw GeneralError::failedToDecodeUTF8StringFromData(Foundation::Data(record->data(), record->size()));
        m_record = *record;
        if (m_skipsLeadingLineFeed && m_record.starts_with('\n'))
            m_position = 1;
        m_skipsLeadingLineFeed = false;
    } while (m_position == m_record.size());
    return true;
}

// Whether the record is UTF-8. The check takes in everything held after the record as well, so the records
// that follow within it need none; where that span is not UTF-8, its records are checked one by one.
bool CSVRowReader::isUTF8(std::string_view record)
{
    const std::uint64_t start = m_fileDataReader->recordOffset();
    const std::uint64_t end = start + record.size();
    if (end <= m_checkedTo)
        return true;
    if (end > m_spanFailedTo) {
        std::string_view span = record;
        std::string_view ahead = m_fileDataReader->heldAfterRecord();
        if (ahead.data() == record.data() + record.size())
            span = std::string_view(record.data(), record.size() + ahead.size());
        // A scalar cut at the end of what is held is checked once the rest of it is.
        for (std::size_t k = 1; k <= 3 && k <= span.size(); ++k) {
            const auto byte = static_cast<unsigned char>(span[span.size() - k]);
            if ((byte & 0xC0) == 0x80)
                continue;
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            if (length > k)
                span.remove_suffix(k);
            break;
        }
        if (span.size() >= record.size() && isValidUTF8(span)) {
            m_checkedTo = start + span.size();
            return true;
        }
        m_spanFailedTo = start + span.size();
    }
    return isValidUTF8(record);
}

} // namespace Basalwork
