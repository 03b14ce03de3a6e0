#pragma once

#include "Platform/Foundation/String.hpp"

#include <optional>

namespace Basalwork {

// A value of a data row with the header label at its position.
struct CSVNamedValue {
    std::optional<Foundation::String> columnLabel;
    std::optional<Foundation::String> value;

    friend bool operator==(const CSVNamedValue&, const CSVNamedValue&) = default;
};

} // namespace Basalwork
