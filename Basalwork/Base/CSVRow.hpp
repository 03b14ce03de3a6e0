#pragma once

#include "Platform/Foundation/String.hpp"

#include <optional>
#include <vector>

namespace Basalwork {

// One row of a CSV file: a value per field, nothing for a field left empty.
using CSVRow = std::vector<std::optional<Foundation::String>>;

} // namespace Basalwork

#include "Basalwork/Base/CSVNamedRow.hpp"
