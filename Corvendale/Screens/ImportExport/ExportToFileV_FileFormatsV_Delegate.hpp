#pragma once

#include "Shared/Transfer/Exporter.FileFormat.hpp"

#include <optional>

namespace Corvendale {

class ExportToFileVFileFormatsV;

// Told which format was chosen; none when the choice was cleared.
class ExportToFileV_FileFormatsV_Delegate {
public:
    virtual ~ExportToFileV_FileFormatsV_Delegate() = default;
    virtual void didSelect(const std::optional<Shared::ExporterFileFormat>& fileFormat, ExportToFileVFileFormatsV& fileFormatsV) = 0;
};

} // namespace Corvendale
