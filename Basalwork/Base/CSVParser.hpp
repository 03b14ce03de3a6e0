#pragma once

#include "Basalwork/Base/CSVRow.hpp"

#include "Platform/Foundation/Character.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <functional>
#include <optional>
#include <vector>

namespace Basalwork {

class CSVRowReader;

// Reads a CSV file into its header labels and rows. Every call reads the file afresh from its start,
// streamed (see CSVRowReader); nothing is kept between calls. Values come back without their enclosing
// quotes; labels are also trimmed of whitespace.
//
// Failures: the system's error when the file cannot be opened, GeneralError.failedToDecodeUTF8StringFromData
// when it is not UTF-8, and CSVParserError for a missing header or label and for rows that do not fit the
// header. Nothing partial is returned.
class CSVParser : public Foundation::NSObject {
public:
    // Sees rows as the reader gives them: values still quoted, labels untrimmed.
    using RowPredicate = std::function<bool(const CSVRow&)>;

    // The header: the first row the predicate does not skip. Every required label must be among them.
    virtual std::vector<std::optional<Foundation::String>> columnLabels();
    // Every row the predicate does not skip, the header included.
    virtual std::vector<CSVRow> allRows();
    // Every row after the header that the predicate does not skip, each value with its label; each row
    // must have exactly as many values as there are labels.
    virtual std::vector<CSVNamedRow> namedRows();

protected:
    friend Foundation::Construct;
    // Opens nothing. An empty predicate skips nothing.
    CSVParser(Foundation::URL url, Foundation::Character delimeter, Foundation::Character escapeCharacter,
              std::vector<Foundation::String> requiredColumnLabels, RowPredicate skippingRowsWhere);

private:
    std::shared_ptr<CSVRowReader> makeRowReader() const;
    bool skips(const CSVRow& row) const;
    virtual std::vector<std::optional<Foundation::String>> readColumnLabels(CSVRowReader& rowReader);

    Foundation::URL m_url;
    Foundation::Character m_delimeter;
    Foundation::Character m_escapeCharacter;
    std::vector<Foundation::String> m_requiredColumnLabels;
    RowPredicate m_skippingRowsWhere;
};

} // namespace Basalwork
