#pragma once

#include "Shared/Transfer/Importer.FileFormat.hpp"

#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <vector>

namespace Shared {

// How an import went (Importer::Report): the format, the items added, the items left out because one
// with the same identifier was already there, and one text per item that could not be imported.
struct ImporterReport {
    ImporterFileFormat fileFormat;
    std::int64_t importedCount = 0;
    std::int64_t skippedCount = 0;
    std::vector<Foundation::String> failures;

    friend bool operator==(const ImporterReport&, const ImporterReport&) = default;
};

} // namespace Shared
