#pragma once

#include "Shared/Transfer/Exporter.FileFormat.hpp"

#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <vector>

namespace Shared {

// How an export went (Exporter::Report): the format, the items written, one text per item that could
// not be written whole.
struct ExporterReport {
    ExporterFileFormat fileFormat;
    std::int64_t exportedCount = 0;
    std::vector<Foundation::String> failures;

    friend bool operator==(const ExporterReport&, const ExporterReport&) = default;
};

} // namespace Shared
