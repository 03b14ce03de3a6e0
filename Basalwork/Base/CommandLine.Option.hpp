#pragma once

#include "Basalwork/Base/CommandLine.hpp"

#include <optional>

namespace Basalwork {

struct CommandLine::Option {
    Foundation::String commandArgument;
    std::optional<Foundation::String> valueArgument;

    friend bool operator==(const Option&, const Option&) = default;
};

} // namespace Basalwork
