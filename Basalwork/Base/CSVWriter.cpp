#include "Basalwork/Base/CSVWriter.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

namespace Basalwork {
namespace {

// The most a value takes once quoted: every byte a quote, doubled, and the two enclosing quotes.
std::size_t quotedRoom(std::size_t size) { return 2 * size + 2; }

// Quotes the value and doubles the quotes inside it, by bytes: a quote followed by a combining mark is
// still a quote to the reader. `out` has quotedRoom(value.size()) bytes of room; returns where the text ends.
char* putQuoted(char* out, std::string_view value)
{
    *out++ = '"';
    const char* from = value.data();
    const char* const end = from + value.size();
    while (const void* found = std::memchr(from, '"', static_cast<std::size_t>(end - from))) {
        const auto* quote = static_cast<const char*>(found);
        const auto length = static_cast<std::size_t>(quote + 1 - from);
        std::memcpy(out, from, length);
        out += length;
        *out++ = '"';
        from = quote + 1;
    }
    std::memcpy(out, from, static_cast<std::size_t>(end - from));
    out += end - from;
    *out++ = '"';
    return out;
}

char* put(char* out, std::string_view bytes)
{
    if (bytes.empty())
        return out;
    if (bytes.size() == 1) {
        *out = bytes[0];
        return out + 1;
    }
    std::memcpy(out, bytes.data(), bytes.size());
    return out + bytes.size();
}

// One line's values, each quoted (or nothing for a missing one), separated by the delimiter; `valueAt`
// gives the value at a position. The line's room is asked for once, as much as it can take.
template <class Sink, class Values, class ValueAt>
void putLine(Sink& sink, const Values& values, ValueAt valueAt, std::string_view delimiter, std::string_view lineBreakBefore)
{
    std::size_t room = lineBreakBefore.size() + values.size() * delimiter.size();
    for (const auto& value : values) {
        if (auto bytes = valueAt(value))
            room += quotedRoom(bytes->size());
    }
    char* out = put(sink.room(room), lineBreakBefore);
    bool first = true;
    for (const auto& value : values) {
        if (!first)
            out = put(out, delimiter);
        first = false;
        if (auto bytes = valueAt(value))
            out = putQuoted(out, *bytes);
    }
    sink.used(out);
}

std::optional<std::string_view> bytesOf(const std::optional<Foundation::String>& value)
{
    return value ? std::optional(value->view()) : std::nullopt;
}

std::optional<std::string_view> bytesOfLabel(const Foundation::String& label) { return label.view(); }

void putLabels(auto& sink, const std::vector<Foundation::String>& columnLabels, std::string_view delimiter)
{
    // Doubled like values: a quote left single would end the label early when read back.
    putLine(sink, columnLabels, bytesOfLabel, delimiter, {});
    sink.used(put(sink.room(1), "\n"));
}

void putRow(auto& sink, const CSVRow& row, bool isFirst, std::string_view delimiter)
{
    putLine(sink, row, bytesOf, delimiter, isFirst ? std::string_view() : std::string_view("\n"));
}

void putEnd(auto& sink, const CSVRow* lastRow)
{
    // An empty last line would read as the end of the file, so that row is written as one empty value.
    if (lastRow && (lastRow->empty() || (lastRow->size() == 1 && !(*lastRow)[0])))
        sink.used(putQuoted(sink.room(quotedRoom(0)), ""));
}

// Text appended to a string: its room is made by growing the string, and what is left unused is cut.
class StringSink {
public:
    explicit StringSink(std::string& text)
        : m_text(text)
    {
    }
    char* room(std::size_t count)
    {
        const auto size = m_text.size();
        m_text.resize(size + count);
        return m_text.data() + size;
    }
    void used(const char* end) { m_text.resize(static_cast<std::size_t>(end - m_text.data())); }

private:
    std::string& m_text;
};

// Text laid out in a buffer that goes to the file whenever the next line does not fit; a line larger than
// the buffer grows it.
class FileSink {
public:
    explicit FileSink(Foundation::FileIO::AtomicWriter& file)
        : m_file(file)
    {
    }
    char* room(std::size_t count)
    {
        if (m_capacity - m_size < count) {
            flush();
            if (m_capacity < count) {
                m_capacity = std::max(count, bufferSize);
                m_buffer = std::make_unique_for_overwrite<char[]>(m_capacity);
            }
        }
        return m_buffer.get() + m_size;
    }
    void used(const char* end) { m_size = static_cast<std::size_t>(end - m_buffer.get()); }
    void flush()
    {
        m_file.write(m_buffer.get(), m_size);
        m_size = 0;
    }

private:
    // Large enough that a write costs little per byte, small enough to stay in the processor's cache.
    static constexpr std::size_t bufferSize = std::size_t {256} << 10;

    Foundation::FileIO::AtomicWriter& m_file;
    std::unique_ptr<char[]> m_buffer = std::make_unique_for_overwrite<char[]>(bufferSize);
    std::size_t m_capacity = bufferSize;
    std::size_t m_size = 0;
};

} // namespace

void CSVWriter::appendLabels(std::string& text, const std::vector<Foundation::String>& columnLabels, const Foundation::Character& delimiter)
{
    StringSink sink(text);
    putLabels(sink, columnLabels, delimiter.utf8());
}

void CSVWriter::appendRow(std::string& text, const CSVRow& row, bool isFirst, const Foundation::Character& delimiter)
{
    StringSink sink(text);
    putRow(sink, row, isFirst, delimiter.utf8());
}

void CSVWriter::appendEnd(std::string& text, const CSVRow* lastRow)
{
    StringSink sink(text);
    putEnd(sink, lastRow);
}

void CSVWriter::write(const Foundation::URL& to, const std::vector<Foundation::String>& columnLabels,
                      const std::vector<CSVRow>& rows, const Foundation::Character& usingDelimiter)
{
    if (!to.isFileURL())
        throw Foundation::CocoaError::fileError(Foundation::CocoaError::fileWriteUnsupportedScheme, to.absoluteString().utf8());
    const std::string_view delimiter = usingDelimiter.utf8();
    // Labels, values and the delimiter are UTF-8 already, and so is the text made of them.
    Foundation::FileIO::AtomicWriter file(to.path().utf8());
    FileSink sink(file);
    putLabels(sink, columnLabels, delimiter);
    for (std::size_t r = 0; r < rows.size(); ++r)
        putRow(sink, rows[r], r == 0, delimiter);
    putEnd(sink, rows.empty() ? nullptr : &rows.back());
    sink.flush();
    file.commit();
}

} // namespace Basalwork
