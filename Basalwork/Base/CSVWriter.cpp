#include "Basalwork/Base/CSVWriter.hpp"

#include "Basalwork/Base/String.hpp"

#include "Platform/Foundation/Data.hpp"

namespace Basalwork {
namespace {

// By bytes: a quote followed by a combining mark is still a quote to the reader.
void appendQuoted(std::string& text, std::string_view value)
{
    text += '"';
    for (char byte : value) {
        if (byte == '"')
            text += '"';
        text += byte;
    }
    text += '"';
}

} // namespace

void CSVWriter::write(const Foundation::URL& to, const std::vector<Foundation::String>& columnLabels,
                      const std::vector<CSVRow>& rows, const Foundation::Character& usingDelimiter)
{
    const std::string& delimiter = usingDelimiter.utf8();
    std::string text;
    for (std::size_t i = 0; i < columnLabels.size(); ++i) {
        if (i > 0)
            text += delimiter;
        // Doubled like values: a quote left single would end the label early when read back.
        appendQuoted(text, columnLabels[i].view());
    }
    text += '\n';
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r > 0)
            text += '\n';
        for (std::size_t i = 0; i < rows[r].size(); ++i) {
            if (i > 0)
                text += delimiter;
            if (rows[r][i])
                appendQuoted(text, rows[r][i]->view());
        }
    }
    // An empty last line would read as the end of the file, so that row is written as one empty value.
    if (!rows.empty() && text.back() == '\n')
        text += "\"\"";
    data(Foundation::String(std::move(text)), Foundation::String::Encoding::utf8())
        .write(to, Foundation::Data::WritingOptions::atomic());
}

} // namespace Basalwork
