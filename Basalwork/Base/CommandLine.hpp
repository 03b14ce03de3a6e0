#pragma once

#include "Platform/Foundation/String.hpp"

#include <optional>

namespace Basalwork {

// Launch options: a name that begins with two hyphens, followed by its value as the next argument.
struct CommandLine {
    struct Option;
    // The first argument equal to `forArgument`, with the argument after it whatever that holds.
    static std::optional<Option> option(const Foundation::String& forArgument);
};

} // namespace Basalwork

#include "Basalwork/Base/CommandLine.Option.hpp"
