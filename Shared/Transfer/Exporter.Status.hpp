#pragma once

#include "Shared/Transfer/Exporter.Report.hpp"
#include "Shared/Transfer/TransferStatus.hpp"

namespace Shared {

// Where the exporter stands (Exporter::Status).
using ExporterStatus = TransferStatus<ExporterFileFormat, ExporterReport>;

} // namespace Shared
