#include "Basalwork/Base/CSVRowReader.hpp"

#include "Basalwork/Base/String.hpp"

#include <string_view>

namespace Basalwork {
namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view nextLine = "\xC2\x85";
constexpr std::string_view lineSeparator = "\xE2\x80\xA8";
constexpr std::string_view paragraphSeparator = "\xE2\x80\xA9";

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// The length of the newline that starts the text; 0 for none. CR LF is one newline.
std::size_t newlineLength(std::string_view text)
{
    if (text[0] == '\r')
        return text.size() > 1 && text[1] == '\n' ? 2 : 1;
    if (text[0] >= '\n' && text[0] <= '\r')
        return 1;
    for (auto newline : {nextLine, lineSeparator, paragraphSeparator}) {
        if (startsWith(text, newline))
            return newline.size();
    }
    return 0;
}

// The text is valid UTF-8, so the lead byte tells the length.
std::size_t scalarLength(std::string_view text)
{
    auto lead = static_cast<unsigned char>(text[0]);
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

} // namespace

CSVRowReader::CSVRowReader(const Foundation::URL& url, const Foundation::Character& delimeter,
                           const Foundation::Character& escapeCharacter, std::shared_ptr<Foundation::Progress> progress,
                           std::int64_t chunkSize)
    : m_fileStringReader(Foundation::make<FileStringReader>(url, Strings::newlines(), true, Foundation::String::Encoding::utf8(),
                                                            chunkSize, std::move(progress)))
    , m_delimeter(delimeter)
    , m_escapeCharacter(escapeCharacter)
{
}

std::optional<CSVRow> CSVRowReader::nextRow()
{
    const std::string_view delimiter = m_delimeter.utf8();
    const std::string_view escape = m_escapeCharacter.utf8();
    CSVRow row;
    // The current field, its quotes and escapes still in it.
    std::optional<std::string> field;
    std::size_t lastTokenStart = 0;
    bool isQuoted = false;
    bool endsWithQuote = false;
    bool closesQuote = false;
    bool isEscaping = false;
    auto finishField = [&] {
        row.emplace_back(Foundation::String(std::move(*field)));
        field.reset();
        closesQuote = isEscaping = false;
    };

    while (m_position < m_record.size() || loadNextRecord()) {
        std::string_view rest = std::string_view(m_record).substr(m_position);
        bool isOpen = field && isQuoted && !(endsWithQuote && closesQuote);
        std::size_t newline = newlineLength(rest);
        if (!isOpen && startsWith(rest, delimiter)) {
            m_position += delimiter.size();
            if (field)
                finishField();
            else
                row.emplace_back();
            continue;
        }
        if (!isOpen && newline > 0) {
            m_skipsLeadingLineFeed = newline == 1 && rest[0] == '\r' && rest.size() == 1;
            m_position += newline;
            if (field)
                finishField();
            else
                row.emplace_back();
            return row;
        }
        if (!field) {
            if (startsWith(rest, byteOrderMark)) {
                m_position += byteOrderMark.size();
                continue;
            }
            std::size_t length = scalarLength(rest);
            field.emplace(rest.substr(0, length));
            lastTokenStart = 0;
            isQuoted = endsWithQuote = rest[0] == '"';
            closesQuote = isEscaping = false;
            m_position += length;
            continue;
        }
        bool isEscape = startsWith(rest, escape);
        std::size_t length = isEscape ? escape.size() : newline > 0 ? newline : scalarLength(rest);
        bool isQuote = length == 1 && rest[0] == '"';
        closesQuote = isQuote && !isEscaping;
        bool escapesNext = isEscape && !isEscaping;
        // An escaped quote takes the place of its escape character.
        if (isQuote && isEscaping)
            field->resize(lastTokenStart);
        lastTokenStart = field->size();
        field->append(rest.substr(0, length));
        endsWithQuote = isQuote;
        isEscaping = escapesNext;
        m_position += length;
    }

    if (field) {
        finishField();
        return row;
    }
    if (row.empty())
        return std::nullopt;
    row.emplace_back();
    return row;
}

Foundation::AnyIterator<CSVRow> CSVRowReader::makeIterator()
{
    return Foundation::AnyIterator<CSVRow>([self = sharedSelf(this)] { return self->nextRow(); });
}

// Loads records until one has text left to scan: a record that is only the LF of a split CR LF has none.
bool CSVRowReader::loadNextRecord()
{
    do {
        auto record = m_fileStringReader->nextString();
        m_position = 0;
        m_record = record ? record->utf8() : std::string();
        if (m_skipsLeadingLineFeed && startsWith(m_record, "\n"))
            m_position = 1;
        m_skipsLeadingLineFeed = false;
        if (!record)
            return false;
    } while (m_position == m_record.size());
    return true;
}

} // namespace Basalwork
