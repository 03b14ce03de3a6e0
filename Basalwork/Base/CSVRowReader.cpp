#include "Basalwork/Base/CSVRowReader.hpp"

#include "Basalwork/Base/Data.hpp"
#include "Basalwork/Base/FileDataReader.ByteSet.hpp"
#include "Basalwork/Base/GeneralError.hpp"


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

// Well-formed UTF-8 as the standard defines it (no overlong forms, surrogates or scalars past U+10FFFF),
// ASCII sixteen bytes at a time.
bool isValidUTF8(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        unsigned char lead = bytes[i];
        if (lead < 0x80) {
            i = FileDataReader::ByteSet::findNonASCII(bytes, i + 1, size);
            continue;
        }
        std::size_t length;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + length > size || bytes[i + 1] < low || bytes[i + 1] > high)
            return false;
        for (std::size_t k = 2; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
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
}

std::optional<CSVRow> CSVRowReader::nextRow()
{
    const std::string_view delimiter = m_delimeter.utf8();
    const std::string_view escape = m_escapeCharacter.utf8();
    CSVRow row;
    row.reserve(m_lastRowSize);
    // The current field is `copied` followed by the record's bytes from `pendingFrom` to the position,
    // its quotes and escapes still in it: a field within one record is copied once, when it ends.
    bool hasField = false;
    std::string copied;
    std::size_t pendingFrom = 0;
    std::size_t lastTokenStart = 0;
    bool isQuoted = false;
    bool endsWithQuote = false;
    bool closesQuote = false;
    bool isEscaping = false;
    auto finishField = [&] {
        std::string_view pending = m_record.substr(pendingFrom, m_position - pendingFrom);
        if (copied.empty()) {
            row.emplace_back(Foundation::String::fromCheckedUTF8(std::string(pending)));
        } else {
            copied.append(pending);
            row.emplace_back(Foundation::String::fromCheckedUTF8(std::exchange(copied, std::string())));
        }
        hasField = false;
        closesQuote = isEscaping = false;
    };

    while (true) {
        if (m_position == m_record.size()) {
            if (hasField)
                copied.append(m_record.substr(pendingFrom));
            bool loaded = loadNextRecord();
            pendingFrom = m_position;
            if (!loaded)
                break;
        }
        if (!hasField && m_takesRuns) {
            // Most fields start with an ordinary character and end at the delimiter.
            auto first = static_cast<unsigned char>(m_record[m_position]);
            if (!m_stopsElsewhere->contains(first) && first != 0xEF) {
                hasField = true;
                pendingFrom = m_position;
                lastTokenStart = 0;
                isQuoted = endsWithQuote = closesQuote = isEscaping = false;
                m_position = m_stopsElsewhere->find(reinterpret_cast<const unsigned char*>(m_record.data()), m_position + 1,
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
                row.emplace_back();
            m_position += delimiter.size();
            continue;
        }
        std::size_t newline = newlineLength(rest);
        if (!isOpen && newline > 0) {
            m_skipsLeadingLineFeed = newline == 1 && rest[0] == '\r' && rest.size() == 1;
            if (hasField)
                finishField();
            else
                row.emplace_back();
            m_position += newline;
            m_lastRowSize = row.size();
            return row;
        }
        if (!hasField) {
            if (rest.starts_with(byteOrderMark)) {
                m_position += byteOrderMark.size();
                continue;
            }
            hasField = true;
            pendingFrom = m_position;
            lastTokenStart = 0;
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
            copied.append(m_record.substr(pendingFrom, m_position - pendingFrom));
            copied.resize(lastTokenStart);
            pendingFrom = m_position;
        }
        lastTokenStart = copied.size() + (m_position - pendingFrom);
        m_position += length;
        endsWithQuote = isQuote;
        isEscaping = escapesNext;
    }

    if (hasField) {
        finishField();
        m_lastRowSize = row.size();
        return row;
    }
    if (row.empty())
        return std::nullopt;
    row.emplace_back();
    m_lastRowSize = row.size();
    return row;
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
        if (!isValidUTF8(*record))
            throw GeneralError::failedToDecodeUTF8StringFromData(Foundation::Data(record->data(), record->size()));
        m_record = *record;
        if (m_skipsLeadingLineFeed && m_record.starts_with('\n'))
            m_position = 1;
        m_skipsLeadingLineFeed = false;
    } while (m_position == m_record.size());
    return true;
}

} // namespace Basalwork
