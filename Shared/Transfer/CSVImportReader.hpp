#pragma once

#include "Shared/Transfer/ImportedItem.hpp"
#include "Shared/Transfer/Importer.FileFormat.hpp"

#include "Platform/Foundation/Error.hpp"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace Shared {

// Reads the CSV exports: the header's labels find each value's place in an item (labels are matched
// without regard to case; the required ones must be there exactly), rows become items one by one, and
// a row that cannot be an item becomes a failure text while the others go on.
class CSVImportReader {
public:
    // The values of a row, unquoted (views into the row as the reader gave it; empty for a missing one).
    using Values = std::vector<std::string_view>;

    // A data row with the header's labels, trimmed and unquoted.
    struct LabelledRow {
        const std::vector<Foundation::String>& labels;
        const Values& values;
        std::int64_t number;

        // The value under `label` (exactly as written), or empty.
        std::string_view value(std::string_view label) const;
    };
    using RowHandler = std::function<void(const LabelledRow& row, ImportReadResult& result)>;

    // Other apps' CSV formats; this program's own is VaultDocument's, which reads through `readRows`.
    static bool isCSV(ImporterFileFormat format);
    static std::vector<Foundation::String> requiredColumnLabels(ImporterFileFormat format);

    // With `deliver`, the items go to it a part of `partSize` rows at a time as they are read, and what
    // is answered holds only what was not delivered (nothing).
    static ImportReadResult read(ImporterFileFormat format, const Foundation::URL& fileURL, const ImportReadProgress& progress,
                                 const ImportReadDelivery& deliver = nullptr, std::size_t partSize = defaultPartSize);

    // The frame every CSV reading shares: the header checked against the required labels, then each
    // data row handed on. Blank rows are skipped. CSVParserError for a missing label, ImporterError
    // for an empty file, a row past the bound or text that is not UTF-8. With `deliver`, as for
    // `read`. Rows end at every newline this program's own writer quotes; other apps' files (`read`,
    // and those without a header) end them at CR, LF and CR LF only, as RFC 4180 has it.
    static ImportReadResult readRows(const Foundation::URL& fileURL, char32_t delimiter, const std::vector<Foundation::String>& requiredLabels,
                                     const ImportReadProgress& progress, const RowHandler& handler, const ImportReadDelivery& deliver = nullptr,
                                     std::size_t partSize = defaultPartSize);
    // The same for files without a header.
    static ImportReadResult readHeaderlessRows(const Foundation::URL& fileURL, const ImportReadProgress& progress, const RowHandler& handler,
                                               const ImportReadDelivery& deliver = nullptr, std::size_t partSize = defaultPartSize);

    static constexpr std::size_t defaultPartSize = 4096;
    // No row is read on past this: a file without line ends is not taken into memory whole.
    static constexpr std::size_t maximumRowByteCount = 64 * 1024 * 1024;

    // "Row 12 (Title): reason".
    static Foundation::String failureText(std::int64_t rowNumber, std::string_view title, const Foundation::Error& error);
};

} // namespace Shared
