#pragma once

#include "Shared/Importer.Report.hpp"
#include "Shared/TransferStatus.hpp"

namespace Shared {

// Where the importer stands (Importer::Status).
using ImporterStatus = TransferStatus<ImporterFileFormat, ImporterReport>;

} // namespace Shared
