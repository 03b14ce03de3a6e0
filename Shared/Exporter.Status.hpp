#pragma once

#include "Shared/Exporter.Report.hpp"
#include "Shared/TransferStatus.hpp"

namespace Shared {

// Where the exporter stands (Exporter::Status).
using ExporterStatus = TransferStatus<ExporterFileFormat, ExporterReport>;

} // namespace Shared
