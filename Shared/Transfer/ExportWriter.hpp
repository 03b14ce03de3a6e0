#pragma once

#include "Shared/Model/Entry.hpp"
#include "Shared/Transfer/Exporter.FileFormat.hpp"

#include "Basalwork/Base/CSVRow.hpp"

#include <string>
#include <vector>

namespace Shared {

// What the other apps' files hold for an item: their CSV layouts and the text file.
class ExportWriter {
public:
    static std::vector<Foundation::String> csvColumnLabels(ExporterFileFormat format);
    static Basalwork::CSVRow csvRow(ExporterFileFormat format, const Entry& entry);
    // One item of the text file, ending in a blank line.
    static void appendText(std::string& out, const Entry& entry);
};

} // namespace Shared
