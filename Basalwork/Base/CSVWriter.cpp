#include "Basalwork/Base/CSVWriter.hpp"

#include "Platform/Foundation/Data.hpp"

#include <cstring>
#include <string_view>
#include <vector>

namespace Basalwork {
namespace {

// Quotes every value and doubles the quotes inside it, by bytes: a quote followed by a combining mark is
// still a quote to the reader. The text is measured first and then filled, so it is built in one piece.
class CSVText {
public:
    void measure(std::string_view value) { m_size += value.size(); }
    void measureQuoted(std::string_view value)
    {
        m_size += value.size() + 2;
        for (auto at = value.find('"'); at != std::string_view::npos; at = value.find('"', at + 1))
            ++m_size;
    }
    void append(std::string_view value)
    {
        std::memcpy(m_bytes.data() + m_filled, value.data(), value.size());
        m_filled += value.size();
    }
    void appendQuoted(std::string_view value)
    {
        append("\"");
        for (auto at = value.find('"'); at != std::string_view::npos; at = value.find('"')) {
            append(value.substr(0, at + 1));
            append("\"");
            value.remove_prefix(at + 1);
        }
        append(value);
        append("\"");
    }
    void allocate() { m_bytes.resize(m_size); }
    std::vector<std::uint8_t> bytes() && { return std::move(m_bytes); }

private:
    std::size_t m_size = 0;
    std::size_t m_filled = 0;
    std::vector<std::uint8_t> m_bytes;
};

void appendQuoted(std::string& text, std::string_view value)
{
    text.push_back('"');
    for (auto at = value.find('"'); at != std::string_view::npos; at = value.find('"')) {
        text.append(value.substr(0, at + 1));
        text.push_back('"');
        value.remove_prefix(at + 1);
    }
    text.append(value);
    text.push_back('"');
}

} // namespace

void CSVWriter::appendLabels(std::string& text, const std::vector<Foundation::String>& columnLabels, const Foundation::Character& delimiter)
{
    for (std::size_t i = 0; i < columnLabels.size(); ++i) {
        if (i > 0)
            text.append(delimiter.utf8());
        appendQuoted(text, columnLabels[i].view());
    }
    text.push_back('\n');
}

void CSVWriter::appendRow(std::string& text, const CSVRow& row, bool isFirst, const Foundation::Character& delimiter)
{
    if (!isFirst)
        text.push_back('\n');
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0)
            text.append(delimiter.utf8());
        if (row[i])
            appendQuoted(text, row[i]->view());
    }
}

void CSVWriter::appendEnd(std::string& text, const CSVRow* lastRow)
{
    // As `write` does: an empty last line would read as the end of the file.
    if (lastRow && (lastRow->empty() || (lastRow->size() == 1 && !(*lastRow)[0])))
        appendQuoted(text, "");
}

void CSVWriter::write(const Foundation::URL& to, const std::vector<Foundation::String>& columnLabels,
                      const std::vector<CSVRow>& rows, const Foundation::Character& usingDelimiter)
{
    const std::string_view delimiter = usingDelimiter.utf8();
    CSVText text;
    // Twice over the same steps: first measuring, then writing.
    for (bool measuring : {true, false}) {
        auto plain = [&](std::string_view bytes) { measuring ? text.measure(bytes) : text.append(bytes); };
        auto quoted = [&](std::string_view bytes) { measuring ? text.measureQuoted(bytes) : text.appendQuoted(bytes); };
        for (std::size_t i = 0; i < columnLabels.size(); ++i) {
            if (i > 0)
                plain(delimiter);
            // Doubled like values: a quote left single would end the label early when read back.
            quoted(columnLabels[i].view());
        }
        plain("\n");
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (r > 0)
                plain("\n");
            for (std::size_t i = 0; i < rows[r].size(); ++i) {
                if (i > 0)
                    plain(delimiter);
                if (rows[r][i])
                    quoted(rows[r][i]->view());
            }
            // An empty last line would read as the end of the file, so that row is written as one empty value.
            if (r + 1 == rows.size() && (rows[r].empty() || (rows[r].size() == 1 && !rows[r][0])))
                quoted("");
        }
        if (measuring)
            text.allocate();
    }
    // Labels, values and the delimiter are UTF-8 already, and so is the text made of them.
    Foundation::Data(std::move(text).bytes()).write(to, Foundation::Data::WritingOptions::atomic());
}

} // namespace Basalwork
