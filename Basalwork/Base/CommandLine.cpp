#include "Basalwork/Base/CommandLine.hpp"

#include "Platform/Foundation/CommandLine.hpp"

namespace Basalwork {

std::optional<CommandLine::Option> CommandLine::option(const Foundation::String& forArgument)
{
    const auto arguments = Foundation::CommandLine::arguments();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] != forArgument)
            continue;
        std::optional<Foundation::String> value;
        if (i + 1 < arguments.size())
            value = arguments[i + 1];
        return Option {forArgument, value};
    }
    return std::nullopt;
}

} // namespace Basalwork
