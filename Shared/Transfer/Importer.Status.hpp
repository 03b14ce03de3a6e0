#pragma once

#include "Shared/Transfer/Importer.Report.hpp"
#include "Shared/Transfer/TransferStatus.hpp"

namespace Shared {

// Where the importer stands (Importer::Status).
using ImporterStatus = TransferStatus<ImporterFileFormat, ImporterReport>;

} // namespace Shared
