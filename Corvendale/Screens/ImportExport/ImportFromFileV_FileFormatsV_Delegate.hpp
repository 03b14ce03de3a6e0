#pragma once

#include "Shared/Transfer/Importer.FileFormat.hpp"

#include <optional>

namespace Corvendale {

class ImportFromFileVFileFormatsV;

// Told which format was chosen; none when the choice was cleared.
class ImportFromFileV_FileFormatsV_Delegate {
public:
    virtual ~ImportFromFileV_FileFormatsV_Delegate() = default;
    virtual void didSelect(const std::optional<Shared::ImporterFileFormat>& fileFormat, ImportFromFileVFileFormatsV& fileFormatsV) = 0;
};

} // namespace Corvendale
