#pragma once

#include "Basalwork/Base/CSVRow.hpp"

#include "Platform/Foundation/Character.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <string>
#include <vector>

namespace Basalwork {

// Writes labels and rows as CSV that CSVParser, with the quote as escape character, reads back as
// written.
class CSVWriter : public Foundation::NSObject {
public:
    // Every label and every value is quoted, quotes inside doubled; nothing is written for a missing
    // value. Lines end with a line feed, except the last; with no rows the header line ends with one.
    // The UTF-8 text, without a byte order mark, replaces the file atomically: a failure leaves
    // whatever was there. Failures throw the system's error.
    static void write(const Foundation::URL& to, const std::vector<Foundation::String>& columnLabels,
                      const std::vector<CSVRow>& rows, const Foundation::Character& usingDelimiter);

    // The same text made in parts, for a file written while its rows are made: the label line, then
    // each row (`isFirst` for the first one, which has no line break before it), then the end after
    // the last row. Pieces of rows can be made apart and joined in order.
    static void appendLabels(std::string& text, const std::vector<Foundation::String>& columnLabels, const Foundation::Character& delimiter);
    static void appendRow(std::string& text, const CSVRow& row, bool isFirst, const Foundation::Character& delimiter);
    static void appendEnd(std::string& text, const CSVRow* lastRow);

protected:
    friend Foundation::Construct;
    CSVWriter(Foundation::URL url, Foundation::Character delimeter, std::vector<Foundation::String> columnLabels)
        : m_url(std::move(url))
        , m_delimeter(std::move(delimeter))
        , m_columnLabels(std::move(columnLabels))
    {
    }

private:
    Foundation::URL m_url;
    Foundation::Character m_delimeter;
    std::vector<Foundation::String> m_columnLabels;
};

} // namespace Basalwork
